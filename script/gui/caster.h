// The caster: finds the one wrapper of a framework object, or makes it. A component's wrapper is
// found through the component's bridge link; everything else gets a new wrapper from the
// factories, asked from the last added to the first. Factory 0 picks the wrapper class of the
// nearest listed framework class (descendants tested before their ancestors).
#pragma once

#include <vector>

#include "platform/rt/persistent.h"
#include "script/core/object.h"

namespace gui {

// Makes a new, unbound wrapper for the object, or answers null.
using TJVCLWrapperFactory = engine::TJObject* (*)(rt::TPersistent* object, engine::TJBaseEngine* engine);

class TJVCLCaster {
 public:
  TJVCLCaster();
  virtual ~TJVCLCaster() = default;
  // Appends a factory; its index.
  virtual int AddFactory(TJVCLWrapperFactory factory);
  // The object's wrapper (bound to it), or null for null and objects no factory takes.
  virtual engine::TJObject* Cast(rt::TPersistent* object, engine::TJBaseEngine* engine);

 private:
  std::vector<TJVCLWrapperFactory> factories_;
};

TJVCLCaster& GetCaster();

// The default factory.
engine::TJObject* CreateVCLWrapper(rt::TPersistent* object, engine::TJBaseEngine* engine);

}  // namespace gui
