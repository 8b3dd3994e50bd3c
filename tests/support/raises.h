// The exception a call must raise, with its text. Test support.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace orv::test {

// Call must raise exactly E (or a subclass) with the text Message. Where only
// the type matters, EXPECT_THROW says it.
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
