#pragma once

#include <utility>
#include <variant>

// A value or the reason there is none; core operations report failures this way
// instead of throwing, because an exception inside a coroutine would hang its awaiter.
template<typename T, typename E> class Expected
{
public:
    // The error type's default value, so that generic code (QCoro's waitFor) can make one.
    Expected() : m_state(std::in_place_index<1>) {}
    Expected(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Expected(E error) : m_state(std::in_place_index<1>, std::move(error)) {}

    bool hasValue() const { return m_state.index() == 0; }
    explicit operator bool() const { return hasValue(); }

    const T &value() const & { return std::get<0>(m_state); }
    T &value() & { return std::get<0>(m_state); }
    T &&value() && { return std::get<0>(std::move(m_state)); }
    const T *operator->() const { return &value(); }
    const T &operator*() const & { return value(); }

    const E &error() const { return std::get<1>(m_state); }

private:
    std::variant<T, E> m_state;
};
