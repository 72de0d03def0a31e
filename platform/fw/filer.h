// The common base of the component reader and writer as the objects being streamed see it: a
// class stores data that is no published property ("Lines.Strings", "Picture.Data", the design
// position of non-visual components) by defining properties on the filer.
#pragma once

#include <functional>
#include <string>

#include "platform/fw/object.h"
#include "platform/fw/stream.h"

namespace fw {

class TComponent;
class TReader;
class TWriter;

class TFiler {
 public:
  using TReaderProc = std::function<void(TReader&)>;
  using TWriterProc = std::function<void(TWriter&)>;
  using TStreamProc = std::function<void(TStream&)>;

  virtual ~TFiler() = default;

  // A property written as an ordinary value; `hasData` tells the writer whether to write it.
  virtual void DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc& writeData,
                              bool hasData) = 0;
  // A property written as a block of bytes ({...} in form text).
  virtual void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                    const TStreamProc& writeData, bool hasData) = 0;

  TComponent* Root() const { return root_; }
  void SetRoot(TComponent* root) { root_ = root; }

 protected:
  TComponent* root_ = nullptr;
};

// Implemented by every class that defines properties of its own.
class IDefinesProperties {
 public:
  virtual void DefineProperties(TFiler& filer) = 0;

 protected:
  ~IDefinesProperties() = default;
};

}  // namespace fw
