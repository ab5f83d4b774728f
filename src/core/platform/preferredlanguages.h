#pragma once

#include <QStringList>

// The user's preferred languages, most preferred first, as language tags ("pt-BR").
QStringList preferredLanguages();
