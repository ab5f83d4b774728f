#pragma once

#include <optional>
#include <qcorotask.h>

namespace WaitForResult {

template<typename T> QCoro::Task<> storeResult(QCoro::Task<T> task, std::optional<T> &into)
{
    into.emplace(co_await std::move(task));
}

} // namespace WaitForResult

// QCoro::waitFor for a result that has no default value (an Expected): QCoro's own needs
// one to fill in later.
template<typename T> T waitForResult(QCoro::Task<T> task)
{
    std::optional<T> result;
    QCoro::waitFor(WaitForResult::storeResult(std::move(task), result));
    return std::move(*result);
}
