// The message of an expected exception, so that a test checks its type and its words in one line.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace brisko::test {

// What the Error thrown by action says; a failure and "" when action throws nothing. Other exceptions
// pass through (and fail the test).
template <class Error, class Action>
std::string ThrownMessage(Action&& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.what();
  }
  ADD_FAILURE() << "no exception";
  return "";
}

}  // namespace brisko::test
