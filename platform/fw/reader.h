// The component reader: reads binary form data into a root component, creating the described
// children, setting published and defined properties, resolving component references once
// everything is read, and finally calling Loaded on every component it read.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/fw/filer.h"
#include "platform/fw/value_reader.h"
#include "platform/rt/typeinfo.h"

namespace fw {

class TCollection;

class TReader : public TFiler, public TValueReader {
 public:
  explicit TReader(TStream& stream) : TValueReader(stream) {}

  // Reads a whole description into `root` (its own properties, then its children).
  void ReadRootComponent(TComponent* root);
  // Reads one component header and body; `component` null creates it from the class registry.
  TComponent* ReadComponent(TComponent* component);
  // The properties and then the children of `instance`.
  void ReadData(TComponent* instance);
  void ReadProperty(TPersistent* instance);
  void ReadCollection(TCollection* collection);
  char ReadChar();

  TComponent* Owner() const { return owner_; }
  void SetOwner(TComponent* owner) { owner_ = owner; }
  TComponent* Parent() const { return parent_; }
  void SetParent(TComponent* parent) { parent_ = parent; }

  // Event handler names that the root does not know: false (default) makes them an error, true
  // skips them.
  bool IgnoreUnknownMethods = false;
  // Finds a component by a name another description may use (a form's name); optional.
  std::function<TComponent*(const std::string& name)> FindGlobalComponent;

  // Stream position where the property or component being read started (for error locations).
  int64_t ItemPosition() const { return itemPosition_; }

  void DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc& writeData,
                      bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc& writeData,
                            bool hasData) override;

 private:
  struct Fixup {
    TPersistent* instance;
    const rt::PropInfo* prop;
    std::string name;
    std::weak_ptr<const void> alive;  // of the component that holds the reference
    bool tracked;
  };
  void ReadPropValue(TPersistent* instance, const rt::PropInfo& prop);
  void DoFixupReferences();
  TComponent* ResolveReference(const std::string& name) const;

  TComponent* owner_ = nullptr;
  TComponent* parent_ = nullptr;
  std::string propName_;
  std::vector<Fixup> fixups_;
  std::vector<TComponent*> loaded_;
  std::vector<std::weak_ptr<const void>> loadedAlive_;
  int64_t itemPosition_ = 0;
  int depth_ = 0;
};

}  // namespace fw
