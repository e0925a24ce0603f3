#pragma once

#include <string>

namespace arcavio::test {

// The message of the ErrorType that action throws, or "no error"; any other exception passes on,
// so a wrong kind of error fails the test loudly.
template <class ErrorType, class Action> std::string errorMessageOf(Action&& action)
{
    try {
        action();
    } catch (const ErrorType& e) {
        return e.what();
    }
    return "no error";
}

} // namespace arcavio::test
