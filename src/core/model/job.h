#pragma once

#include <QString>

// An install or update of one app: running with its download fraction, or failed with
// the sentence the user is shown.
struct Job
{
    enum class State { Working, Failed };

    State state = State::Working;
    double fraction = 0;
    QString message;

    static Job working(double fraction) { return {State::Working, fraction, {}}; }
    static Job failed(QString message) { return {State::Failed, 0, std::move(message)}; }

    bool operator==(const Job &) const = default;
};
