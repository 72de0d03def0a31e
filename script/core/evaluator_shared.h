// What the evaluator's files share: the flags an expression is evaluated under and the text of
// a call on something that cannot be called.
#pragma once

namespace engine {

namespace {

// Expression flags: a member access under delete removes the member; a name assigned under the
// "var" of a for head is declared in the current scope.
enum : unsigned { efDelete = 1, efDeclare = 2 };

constexpr const char* kCallError = "call function error,need function or object";

}  // namespace

}  // namespace engine
