#include "script/host/registration.h"

#include "script/core/base_engine.h"
#include "script/host/activex_object.h"
#include "script/host/base64_object.h"
#include "script/host/check_list_box.h"
#include "script/host/clipboard_object.h"
#include "script/host/cookie_object.h"
#include "script/host/ftp_object.h"
#include "script/host/crc_object.h"
#include "script/host/dialog_object.h"
#include "script/host/directory_object.h"
#include "script/host/dynacall_object.h"
#include "script/host/file_object.h"
#include "script/host/html_objects.h"
#include "script/host/http_object.h"
#include "script/host/https_object.h"
#include "script/host/ini_object.h"
#include "script/host/keyboard_object.h"
#include "script/host/mail_objects.h"
#include "script/host/mouse_object.h"
#include "script/host/mutex_object.h"
#include "script/host/reg_ini_object.h"
#include "script/host/string_buffer_object.h"
#include "script/host/strings_object.h"
#include "script/host/tcp_socket_object.h"
#include "script/host/url_object.h"
#include "script/host/win32_object.h"

namespace host {

using engine::ClassOf;

// Files and system objects, one line a class, in this order.
void RegisterHostObjects(engine::TJBaseEngine& engine) {
  engine.ImportObject("File", ClassOf<TJFileObject>());
  engine.ImportObject("Directory", ClassOf<TJDirectoryObject>());
  engine.ImportObject("Strings", ClassOf<TJStringsObject>());
  engine.ImportObject("Win32", ClassOf<TJWin32Object>());
  engine.ImportObject("Ini", ClassOf<TJIniObject>());
  engine.ImportObject("CRC", ClassOf<TJCRCObject>());
  engine.ImportObject("Base64", ClassOf<TJBase64Object>());
  engine.ImportObject("Dialog", ClassOf<TJDialogObject>());
  engine.ImportObject("Mutex", ClassOf<TJMutexObject>());
  engine.ImportObject("Keyboard", ClassOf<TJKeyboard>());
  engine.ImportObject("Mouse", ClassOf<TJMouse>());
  engine.ImportObject("Clipboard", ClassOf<TJClipboard>());
  engine.ImportObject("RegIni", ClassOf<TJRegIniObject>());
  engine.ImportObject("StringBuffer", ClassOf<TJStringBufferObject>());
}

void RegisterNetObjects(engine::TJBaseEngine& engine) {
  engine.ImportObject("URL", ClassOf<TJURLInfoObject>());
  engine.ImportObject("Cookie", ClassOf<TJCookieObject>());
  engine.ImportObject("HTTP", ClassOf<TJHTTPObject>());
  engine.ImportObject("HTTPS", ClassOf<TJHTTPSObject>());
  engine.ImportObject("TCPSocket", ClassOf<TJTCPSocketObject>());
  engine.ImportObject("Mail", ClassOf<TJMailObject>());
  engine.ImportObject("POP3", ClassOf<TJPOP3Object>());
  engine.ImportObject("SMTP", ClassOf<TJSMTPObject>());
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
