// Nothing is freed under a running handler.
//
// Code that calls out to an event handler, or waits in a message loop of its own, still holds plain
// pointers to what it works on when the call returns: the framework routine that fired the event,
// the peer that reported the input, the script bridge that called the handler. Such code opens a
// dispatch scope for as long as it holds them. While any scope is open, what is let go of (a form a
// handler released, a list item a handler deleted) is only taken out of its place; the object
// itself waits in the release list. The message loop empties that list once no scope is open, so a
// loop run from inside a handler (a script's doEvents, a modal form) leaves it alone.
//
//   void TThing::Fire() {
//     TDispatchScope scope;          // what OnChange frees waits until the outermost scope is over
//     if (OnChange) OnChange(this);
//     UseMembersAgain();
//   }
//
//   FreeWhenIdle(component);         // now when no scope is open, else once the loop finds none
//
// Everything runs on the GUI thread.
#pragma once

#include <functional>

namespace fw {

class TComponent;

class TDispatchScope {
 public:
  TDispatchScope();
  ~TDispatchScope();
  TDispatchScope(const TDispatchScope&) = delete;
  TDispatchScope& operator=(const TDispatchScope&) = delete;
};

// How many scopes are open right now.
int DispatchDepth();

// Runs `release` now when no scope is open, else keeps it in the release list.
void ReleaseWhenIdle(std::function<void()> release);
// Frees the component now when no scope is open, else once the loop finds none open (nothing
// happens then when it was freed meanwhile by someone else).
void FreeWhenIdle(TComponent* component);
// Frees the component from the loop, after the events pending now, and never under an open scope.
void FreeLater(TComponent* component);

// Runs what waits in the release list when no scope is open (what a release frees may release
// more: that runs too). The message loop calls it; true when anything ran.
bool RunReleases();
// Entries waiting in the release list.
size_t PendingReleases();

}  // namespace fw
