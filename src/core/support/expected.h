#pragma once

#include <utility>
#include <variant>

// What a step that gives nothing back holds when it succeeds: Expected<Unit, E> is
// "done, or the reason why not".
struct Unit
{
    bool operator==(const Unit &) const = default;
};

// A value or the reason there is none; core operations report failures this way
// instead of throwing, because an exception inside a coroutine would hang its awaiter.
// There is no empty state: a failure is always made from its reason.
template<typename T, typename E> class Expected
{
public:
    Expected(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Expected(E error) : m_state(std::in_place_index<1>, std::move(error)) {}

    bool hasValue() const { return m_state.index() == 0; }
    explicit operator bool() const { return hasValue(); }

    const T &value() const & { return std::get<0>(m_state); }
    T &value() & { return std::get<0>(m_state); }
    T &&value() && { return std::get<0>(std::move(m_state)); }
    const T *operator->() const { return &value(); }
    T *operator->() { return &value(); }
    const T &operator*() const & { return value(); }
    T &operator*() & { return value(); }

    const E &error() const & { return std::get<1>(m_state); }
    E &&error() && { return std::get<1>(std::move(m_state)); }

private:
    std::variant<T, E> m_state;
};
