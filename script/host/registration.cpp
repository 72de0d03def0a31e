#include "script/host/registration.h"

#include "script/core/base_engine.h"
#include "script/host/activex_object.h"
#include "script/host/base64_object.h"
#include "script/host/check_list_box.h"
#include "script/host/cookie_object.h"
#include "script/host/ftp_object.h"
#include "script/host/crc_object.h"
#include "script/host/dynacall_object.h"
#include "script/host/file_object.h"
#include "script/host/html_objects.h"
#include "script/host/http_object.h"
#include "script/host/https_object.h"
#include "script/host/mutex_object.h"
#include "script/host/string_buffer_object.h"
#include "script/host/strings_object.h"
#include "script/host/url_object.h"

namespace host {

using engine::ClassOf;

// Files and system objects, one line a class in this order; the classes still being built take
// their places when they land.
void RegisterHostObjects(engine::TJBaseEngine& engine) {
  engine.ImportObject("File", ClassOf<TJFileObject>());
  // "Directory"
  engine.ImportObject("Strings", ClassOf<TJStringsObject>());
  // "Win32"
  // "Ini"
  engine.ImportObject("CRC", ClassOf<TJCRCObject>());
  engine.ImportObject("Base64", ClassOf<TJBase64Object>());
  // "Dialog"
  engine.ImportObject("Mutex", ClassOf<TJMutexObject>());
  // "Keyboard"
  // "Mouse"
  // "Clipboard"
  // "RegIni"
  engine.ImportObject("StringBuffer", ClassOf<TJStringBufferObject>());
}

void RegisterNetObjects(engine::TJBaseEngine& engine) {
  engine.ImportObject("URL", ClassOf<TJURLInfoObject>());
  engine.ImportObject("Cookie", ClassOf<TJCookieObject>());
  engine.ImportObject("HTTP", ClassOf<TJHTTPObject>());
  engine.ImportObject("HTTPS", ClassOf<TJHTTPSObject>());
  engine.ImportObject("HtmlTag", ClassOf<TJHtmlTagObject>());
  engine.ImportObject("HtmlParser", ClassOf<TJHtmlParserObject>());
  engine.ImportObject("FTP", ClassOf<TJFtpObject>());
}

void RegisterActiveXObjects(engine::TJBaseEngine& engine) {
  engine.ImportObject("ActiveXObject", ClassOf<TJActiveXObject>());
  engine.ImportObject("Enumerator", ClassOf<TJEnumeratorObject>());
}

void RegisterDynaCallObjects(engine::TJBaseEngine& engine) {
  engine.ImportObject("DynaCall", ClassOf<TJDynaCall>());
  engine.ImportObject("Struct", ClassOf<TJStruct>());
}

void RegisterGUIObjects(engine::TJBaseEngine& engine) { engine.ImportObject("CheckListBox", ClassOf<TJCheckListBox>()); }

}  // namespace host
