// The component writer: writes a root component and the components it owns as binary form data.
// A property is written when it is stored and differs from its default (ordinals), is not empty
// (strings), not zero (floats) or not nil (references, written by name); event handlers are
// written when they are named methods of the root.
#pragma once

#include <string>

#include "platform/fw/filer.h"
#include "platform/fw/value_writer.h"

namespace fw {

class TCollection;

class TWriter : public TFiler, public TValueWriter {
 public:
  explicit TWriter(TStream& stream) : TValueWriter(stream) {}

  // Signature, then the root with everything it writes as its children.
  void WriteDescendent(TComponent* root);
  void WriteComponent(TComponent* component);
  void WriteProperties(TPersistent* instance);
  void WriteCollection(TCollection* collection);
  void WriteChar(char c) { WriteString(std::string(1, c)); }

  void DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc& writeData,
                      bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc& writeData,
                            bool hasData) override;

 private:
  void WriteProperty(TPersistent* instance, const rt::PropInfo& prop);
  std::string ReferenceName(TComponent* target) const;
  std::string propPath_;
};

}  // namespace fw
