// Shared by the tests of the core routines.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace orv::test {

// Call must raise exactly E (or a subclass) with the text Message.
template <class E, class F>
void ExpectRaises(F&& Call, const std::string& Message) {
  try {
    Call();
    ADD_FAILURE() << "no exception, expected: " << Message;
  } catch (const E& e) {
    EXPECT_EQ(std::string(e.what()), Message);
  }
}

}  // namespace orv::test
