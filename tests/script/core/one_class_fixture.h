// A script component whose engine knows one test class `T` (as `T::kScriptName`) besides nothing
// else, with the error events of each run collected as "<line>:<report>". `T::notes` is the text
// the class's natives note down.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "script/core/component.h"
#include "script/core/engine.h"

template <class T>
class OneClassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = engine::EngineExtensions();
    engine::EngineExtensions().RegisterStandardClasses = [](engine::TJEngine& e) {
      e.ImportObject(T::kScriptName, engine::ClassOf<T>());
    };
    component_ = std::make_unique<engine::TBrindle>();
    T::notes.clear();
    component_->SetOnStderr([](engine::TBrindle*, const std::string&) {});
    component_->SetOnError([this](engine::TBrindle*, int32_t line, const std::string& msg) {
      errors.push_back(std::to_string(line) + ":" + msg);
    });
  }
  void TearDown() override {
    component_.reset();
    engine::EngineExtensions() = saved_;
  }
  int32_t Run(const std::string& source) {
    if (!component_->Compile(source)) return -100;
    return component_->RunNoArgs();
  }

  std::unique_ptr<engine::TBrindle> component_;
  std::string& out = T::notes;
  std::vector<std::string> errors;

 private:
  engine::TJEngineExtensions saved_;
};
