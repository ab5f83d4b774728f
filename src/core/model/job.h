#pragma once

#include <QString>

// An install or update of one app: running with its download fraction, or failed with
// the sentence the user is shown and the exact reason, for diagnostics.
struct Job
{
    enum class State { Working, Failed };

    State state = State::Working;
    double fraction = 0;
    QString message;
    QString detail;

    static Job working(double fraction) { return {State::Working, fraction, {}, {}}; }
    static Job failed(QString message, QString detail = {})
    {
        return {State::Failed, 0, std::move(message), std::move(detail)};
    }

    bool operator==(const Job &) const = default;
};
