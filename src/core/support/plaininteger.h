#pragma once

#include <QStringView>
#include <optional>

// The plain decimal parse that version parts and Content-Range values use: an
// optional sign, then ASCII digits only, within the signed 64-bit range.
std::optional<qint64> parsePlainInteger(QStringView text);
