// What the evaluator's files share: the flags an expression is evaluated under.
#pragma once

namespace engine {

namespace {

// Expression flags: a member access under delete removes the member; a name assigned under the
// "var" of a for head is declared in the current scope.
enum : unsigned { efDelete = 1, efDeclare = 2 };

}  // namespace

}  // namespace engine
