// The common file and folder dialogs (open, open several, save, choose a folder) behind a service
// the host installs. The Qt host shows real dialogs; tests install TScriptedFileDialogs; with none
// installed every dialog answers "cancelled", which is what a program without a screen gets.
//
// Filters come in the system's own syntax: description|pattern pairs joined by "|", a pattern
// holding several masks separated by ";" ("Text|*.txt;*.log|All|*.*").
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace fw {

enum class TFileDialogKind { Open, OpenMany, Save, Folder };

struct TFileDialogRequest {
  TFileDialogKind Kind = TFileDialogKind::Open;
  std::string Title;
  // The initial file (file dialogs) or folder (the folder dialog); may be empty.
  std::string Initial;
  std::string Filter;  // file dialogs only
};

class IFileDialogService {
 public:
  virtual ~IFileDialogService() = default;
  // Shows the dialog; false when cancelled. `chosen` gets the chosen paths (one, except for
  // OpenMany).
  virtual bool Run(const TFileDialogRequest& request, std::vector<std::string>& chosen) = 0;
};

// The installed service, or null.
IFileDialogService* FileDialogService();
void SetFileDialogService(IFileDialogService* service);
// Runs the request through the installed service; cancelled without one.
bool RunFileDialog(const TFileDialogRequest& request, std::vector<std::string>& chosen);

// One filter entry: its description and its masks.
struct TFileFilter {
  std::string Description;
  std::vector<std::string> Masks;
};
// Reads a filter in the system's syntax. A description without a pattern is dropped; blanks
// around masks are dropped.
std::vector<TFileFilter> ParseFileFilter(const std::string& filter);
// The same filter in Qt's form: "Description (mask mask);;..." with "*.*" as "*" (every name,
// with or without a dot, as the system's "*.*" matches).
std::string QtFileFilter(const std::string& filter);

// Answers dialogs for tests from a handler (cancelled without one) and logs every request.
class TScriptedFileDialogs : public IFileDialogService {
 public:
  std::function<bool(const TFileDialogRequest&, std::vector<std::string>&)> OnRun;
  std::vector<TFileDialogRequest> Log;
  bool Run(const TFileDialogRequest& request, std::vector<std::string>& chosen) override;
};

class TFileDialogServiceScope {
 public:
  explicit TFileDialogServiceScope(IFileDialogService* service);
  ~TFileDialogServiceScope();
  TFileDialogServiceScope(const TFileDialogServiceScope&) = delete;
  TFileDialogServiceScope& operator=(const TFileDialogServiceScope&) = delete;

 private:
  IFileDialogService* previous_;
};

}  // namespace fw
