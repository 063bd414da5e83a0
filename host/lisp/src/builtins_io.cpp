// Output to the command line and to files, file streams, findfile and load. Files are text in
// the machine's ANSI code page with Windows line ends ("\r\n" written, "\r\n" or "\n" read);
// names are Windows paths resolved by the platform. A LISP source file is read as UTF-8 when it
// starts with a UTF-8 signature or is valid UTF-8, else in the ANSI code page.
#include <unicode/ustring.h>

#include "objects.h"
#include "platform/codepage.h"
#include "platform/files.h"

namespace lisp {

namespace {

using Args = std::span<const Value>;

Interpreter::RtosFn& rtosHook() {
  static Interpreter::RtosFn fn;
  return fn;
}

Interpreter::FindFileFn& finderHook() {
  static Interpreter::FindFileFn fn;
  return fn;
}

// Writes text to a file as Windows text mode does: "\n" becomes "\r\n", in the ANSI code page.
void writeText(File& f, std::wstring_view text) {
  if (!f.writing) badType(L"streamp", Value());
  std::wstring crlf;
  for (wchar_t c : text) {
    if (c == L'\n') crlf += L'\r';
    crlf += c;
  }
  std::string bytes = plat::fromWide(plat::CP_ACP, crlf);
  std::fwrite(bytes.data(), 1, bytes.size(), f.fp);
}

// Sends text to the file argument at index i when present, else to the command line.
void emit(Args a, std::size_t i, std::wstring_view text) {
  if (a.size() > i && !a[i].isNil())
    writeText(fileArg(a[i]), text);
  else
    Interpreter::write(text);
}

// The next byte of a readable file; EOF at its end. A "\r" before "\n" is dropped.
int readByte(File& f) {
  if (f.writing) badType(L"streamp", Value());
  int c = std::fgetc(f.fp);
  if (c == '\r') {
    int n = std::fgetc(f.fp);
    if (n == '\n') return n;
    if (n != EOF) std::ungetc(n, f.fp);
  }
  return c;
}

// True when the byte starts a two-byte character of the ANSI code page.
bool isLeadByte(int c) {
  unsigned cp = plat::ansiCodePage();
  bool dbcs = cp == 932 || cp == 936 || cp == 949 || cp == 950;
  return dbcs && c >= 0x81 && c <= 0xFE;
}

Value readLine(Args a) {
  arity(a, 0, 1);
  if (a.empty()) return {};  // no keyboard here: the host supplies typed input
  File& f = fileArg(a[0]);
  std::string bytes;
  int c;
  bool any = false;
  while ((c = readByte(f)) != EOF) {
    any = true;
    if (c == '\n') break;
    bytes += static_cast<char>(c);
  }
  if (!any) return {};
  return Value::string(plat::toWide(plat::CP_ACP, bytes));
}

Value readChar(Args a) {
  arity(a, 0, 1);
  if (a.empty()) return {};
  File& f = fileArg(a[0]);
  int c = readByte(f);
  if (c == EOF) return {};
  std::string bytes(1, static_cast<char>(c));
  if (isLeadByte(c)) {
    int second = std::fgetc(f.fp);
    if (second != EOF) bytes += static_cast<char>(second);
  }
  std::wstring w = plat::toWide(plat::CP_ACP, bytes);
  return Value::integer(w.empty() ? c : w[0]);
}

Value open(Args a) {
  arity(a, 2, 3);
  const std::wstring& name = strArg(a[0]);
  std::wstring mode = strArg(a[1]);
  if (mode.size() != 1 || std::wstring_view(L"rwaRWA").find(mode[0]) == std::wstring_view::npos)
    throw Error(L"bad argument value: " + prin1String(a[1]));
  mode[0] = static_cast<wchar_t>(std::towlower(mode[0]));
  std::FILE* fp = plat::openFile(name, mode + L"b");
  if (!fp) return {};
  auto f = std::make_shared<File>();
  f->fp = fp;
  f->path = plat::fullPath(name);
  f->writing = mode != L"r";
  return Value::fromObject(Kind::File, std::move(f));
}

Value close(Args a) {
  arity(a, 1, 1);
  File& f = fileArg(a[0]);
  std::fclose(f.fp);
  f.fp = nullptr;
  return {};
}

// True when the last component of a path has an extension.
bool hasExtension(std::wstring_view name) {
  std::size_t slash = name.find_last_of(L"\\/");
  std::size_t dot = name.rfind(L'.');
  return dot != std::wstring_view::npos && (slash == std::wstring_view::npos || dot > slash);
}

// True when the bytes are well-formed UTF-8.
bool validUtf8(std::string_view bytes) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8(nullptr, 0, &length, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  return status == U_BUFFER_OVERFLOW_ERROR || U_SUCCESS(status);
}

// The text of a LISP source file.
std::wstring sourceText(std::string bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return plat::fromUtf8(std::string_view(bytes).substr(3));
  if (validUtf8(bytes)) return plat::fromUtf8(bytes);
  return plat::toWide(plat::CP_ACP, bytes);
}

std::optional<std::string> readFile(const std::wstring& path) {
  std::FILE* fp = plat::openFile(path, L"rb");
  if (!fp) return std::nullopt;
  std::string bytes;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0) bytes.append(buf, n);
  std::fclose(fp);
  return bytes;
}

}  // namespace

void Interpreter::setRtos(RtosFn fn) { rtosHook() = std::move(fn); }

std::wstring Interpreter::rtos(double value, std::optional<int> mode, std::optional<int> precision) {
  if (rtosHook()) return rtosHook()(value, mode, precision);
  return formatNumber(value, mode.value_or(2), precision.value_or(4));
}

void Interpreter::setFileFinder(FindFileFn fn) { finderHook() = std::move(fn); }

std::optional<std::wstring> Interpreter::findFile(std::wstring_view name) {
  if (name.empty()) return std::nullopt;
  if (finderHook()) return finderHook()(name);
  if (!plat::resolve(name)) return std::nullopt;
  return plat::fullPath(name);
}

Value Interpreter::loadFile(std::wstring_view name) {
  std::optional<std::wstring> path;
  if (!hasExtension(name)) path = findFile(std::wstring(name) + L".lsp");
  if (!path) path = findFile(name);
  std::optional<std::string> bytes;
  if (path) bytes = readFile(*path);
  if (!bytes) throw Error(L"LOAD failed: " + prin1String(Value::string(std::wstring(name))));
  return evalString(sourceText(std::move(*bytes)));
}

void registerIo() {
  auto def = Interpreter::defineBuiltin;
  def(L"princ", [](Interpreter&, Args a) {
    arity(a, 0, 2);
    if (a.empty()) return Value::symbol(L"");  // the quiet value: prints nothing
    emit(a, 1, princString(a[0]));
    return a[0];
  });
  def(L"prin1", [](Interpreter&, Args a) {
    arity(a, 0, 2);
    if (a.empty()) return Value::symbol(L"");
    emit(a, 1, prin1String(a[0]));
    return a[0];
  });
  def(L"print", [](Interpreter&, Args a) {
    arity(a, 0, 2);
    if (a.empty()) return Value::symbol(L"");
    emit(a, 1, L"\n" + prin1String(a[0]) + L" ");
    return a[0];
  });
  def(L"terpri", [](Interpreter&, Args a) {
    arity(a, 0, 1);
    emit(a, 0, L"\n");
    return Value();
  });
  def(L"prompt", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    Interpreter::write(strArg(a[0]));
    return Value();
  });
  def(L"write-line", [](Interpreter&, Args a) {
    arity(a, 1, 2);
    emit(a, 1, strArg(a[0]) + L"\n");
    return a[0];
  });
  def(L"write-char", [](Interpreter&, Args a) {
    arity(a, 1, 2);
    emit(a, 1, std::wstring(1, static_cast<wchar_t>(intArg(a[0]) & 0xFFFF)));
    return a[0];
  });
  def(L"read-line", [](Interpreter&, Args a) { return readLine(a); });
  def(L"read-char", [](Interpreter&, Args a) { return readChar(a); });
  def(L"open", [](Interpreter&, Args a) { return open(a); });
  def(L"close", [](Interpreter&, Args a) { return close(a); });
  def(L"findfile", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    auto path = Interpreter::findFile(strArg(a[0]));
    return path ? Value::string(*path) : Value();
  });
  def(L"load", [](Interpreter& in, Args a) {
    arity(a, 1, 2);
    const std::wstring& name = strArg(a[0]);
    if (a.size() == 2) {
      bool found = (!hasExtension(name) && Interpreter::findFile(name + L".lsp")) || Interpreter::findFile(name);
      if (!found) return a[1];
    }
    return in.loadFile(name);
  });
}

}  // namespace lisp
