// The GUI test classes, each registered by its own file.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace brisko::uitest {

using TestFactory = std::function<QObject*()>;

inline std::vector<TestFactory>& Registry() {
  static std::vector<TestFactory> tests;
  return tests;
}

struct RegisterTest {
  explicit RegisterTest(TestFactory factory) { Registry().push_back(std::move(factory)); }
};

}  // namespace brisko::uitest

#define BRISKO_UI_TEST(Class)                                 \
  static const brisko::uitest::RegisterTest kRegister##Class( \
      [] { return static_cast<QObject*>(new Class()); })
