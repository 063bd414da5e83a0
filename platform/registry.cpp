// The two hives of the open machine, cached in memory and kept in step with their files. Reads
// re-read a hive whose file changed (device, inode, size, modification time); every change takes
// the hive's lock file, re-reads, applies and saves atomically, so concurrent writers in other
// processes never lose each other's changes. A hive that fails to parse is never written.
#include "platform/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cwctype>
#include <mutex>
#include <system_error>

#include "internal.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/machine.h"
#include "regtree.h"

namespace plat::reg {

using detail::Node;

namespace {

// What identifies one version of a hive file; a missing file has `exists` false.
struct Stamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::int64_t mtimeNs = 0;
  bool operator==(const Stamp&) const = default;
};

Stamp stampOf(const struct stat& st) {
  return {true, st.st_dev, st.st_ino, st.st_size,
          std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

struct Hive {
  Node tree;
  Stamp stamp;
  bool loaded = false;
};

struct Registry {
  std::mutex mutex;
  Hive hives[2];
};

Registry& registry() {
  static Registry r;
  return r;
}

Hive& hiveOf(Root root) { return registry().hives[root == Root::LocalMachine ? 1 : 0]; }

std::filesystem::path hiveFile(Root root) {
  return machineRoot() / (root == Root::LocalMachine ? "system.reg" : "user.reg");
}

std::string quotedPath(const std::filesystem::path& file) { return "\"" + file.string() + "\""; }

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Brings the cached tree of a hive up to date with its file. Throws HiveError for a damaged or
// unreadable file, leaving the hive unloaded so that nothing is ever saved over it.
void refresh(Root root) {
  Hive& hive = hiveOf(root);
  std::filesystem::path file = hiveFile(root);
  Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno != ENOENT) throw HiveError(quotedPath(file) + ": " + std::strerror(errno));
    if (!hive.loaded || hive.stamp.exists) {
      hive.tree = Node{};
      hive.stamp = Stamp{};
      hive.loaded = true;
    }
    return;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) throw HiveError(quotedPath(file) + ": " + std::strerror(errno));
  Stamp stamp = stampOf(st);
  if (hive.loaded && hive.stamp == stamp) return;
  hive.loaded = false;
  std::string bytes;
  char buffer[65536];
  for (ssize_t n; (n = ::read(fd.get(), buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw HiveError(quotedPath(file) + ": " + std::strerror(errno));
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  auto ops = detail::parseRegText(bytes, file.string(), &root);
  Node tree;
  detail::applyOps(tree, root, ops);
  hive.tree = std::move(tree);
  hive.stamp = stamp;
  hive.loaded = true;
}

// Runs `read` on the up-to-date tree of a hive.
template <class Read>
auto withTree(Root root, Read read) {
  std::lock_guard guard(registry().mutex);
  refresh(root);
  return read(hiveOf(root).tree);
}

// A change to one or more hives: holds their lock files (in a fixed order, so two processes
// never wait on each other), re-reads them, and saves each one that is committed.
class Transaction {
 public:
  explicit Transaction(std::vector<Root> roots) : guard_(registry().mutex) {
    std::sort(roots.begin(), roots.end());
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    for (Root root : roots) {
      std::filesystem::path lock = hiveFile(root);
      lock += ".lock";
      auto& fd = locks_.emplace_back(
          std::make_unique<Fd>(::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)));
      if (fd->get() < 0) throw std::system_error(errno, std::generic_category(), lock.string());
      while (::flock(fd->get(), LOCK_EX) != 0)
        if (errno != EINTR) throw std::system_error(errno, std::generic_category(), lock.string());
    }
    for (Root root : roots) refresh(root);
  }

  Node& tree(Root root) { return hiveOf(root).tree; }

  // Saves a hive; false when the file could not be written (the cache is then dropped, so the
  // next access sees what the file really holds).
  bool commit(Root root) {
    Hive& hive = hiveOf(root);
    std::filesystem::path file = hiveFile(root);
    struct stat st {};
    if (!writeFileAtomically(file, detail::writeRegText(hive.tree, std::wstring(rootName(root)), true)) ||
        ::stat(file.c_str(), &st) != 0) {
      hive.loaded = false;
      return false;
    }
    hive.stamp = stampOf(st);
    return true;
  }

 private:
  std::unique_lock<std::mutex> guard_;
  std::vector<std::unique_ptr<Fd>> locks_;  // closing releases the lock
};

// Applies `change` (which returns true when it changed the tree) to a hive and saves it; false
// when the change failed or could not be saved.
template <class Change>
bool mutate(Root root, Change change) {
  try {
    Transaction transaction({root});
    bool failed = false;
    if (!change(transaction.tree(root), failed)) return !failed;
    return transaction.commit(root);
  } catch (const std::system_error&) {
    return false;
  }
}

Node* find(Node& tree, std::wstring_view path) {
  Node* node = &tree;
  for (const auto& part : detail::splitKeyPath(path))
    if (!(node = node->child(part))) return nullptr;
  return node;
}

// The path of an existing key with each component as it was created.
std::wstring storedPath(Node& tree, std::wstring_view path) {
  std::wstring out;
  Node* node = &tree;
  for (const auto& part : detail::splitKeyPath(path)) {
    node = node->child(part);
    if (!out.empty()) out += L'\\';
    out += node->name;
  }
  return out;
}

}  // namespace

static void forgetHives() {
  std::lock_guard guard(registry().mutex);
  for (Hive& hive : registry().hives) hive = Hive{};
}

std::optional<std::wstring> Value::text() const {
  if (type != Type::Sz && type != Type::ExpandSz) return std::nullopt;
  std::u16string units;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    char16_t u = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    if (u == 0) break;
    units.push_back(u);
  }
  return fromUtf16(units);
}

std::optional<Key> Key::open(Root root, std::wstring_view path) {
  return withTree(root, [&](Node& tree) -> std::optional<Key> {
    if (!find(tree, path)) return std::nullopt;
    return Key(root, storedPath(tree, path));
  });
}

// True when a key name can be stored: a line break or NUL would break the hive's text.
static bool storableKeyName(std::wstring_view name) {
  return name.find_first_of(std::wstring_view(L"\r\n\0", 3)) == std::wstring_view::npos;
}

std::optional<Key> Key::create(Root root, std::wstring_view path) {
  if (!storableKeyName(path)) return std::nullopt;
  std::wstring stored;
  bool saved = mutate(root, [&](Node& tree, bool&) {
    bool created = false;
    Node* node = &tree;
    for (const auto& part : detail::splitKeyPath(path)) {
      created = created || !node->child(part);
      node = &node->addChild(part);
      if (!stored.empty()) stored += L'\\';
      stored += node->name;
    }
    return created;
  });
  if (!saved) return std::nullopt;
  return Key(root, stored);
}

bool Key::deleteTree(Root root, std::wstring_view path) {
  auto parts = detail::splitKeyPath(path);
  if (parts.empty()) return false;  // a root key stays
  return mutate(root, [&](Node& tree, bool& failed) {
    Node* parent = &tree;
    for (std::size_t i = 0; parent && i + 1 < parts.size(); ++i) parent = parent->child(parts[i]);
    failed = !parent || !parent->removeChild(parts.back());
    return !failed;
  });
}

std::optional<Value> Key::query(std::wstring_view name) const {
  return withTree(root_, [&](Node& tree) -> std::optional<Value> {
    Node* node = find(tree, path_);
    Value* value = node ? node->value(name) : nullptr;
    if (!value) return std::nullopt;
    return *value;
  });
}

bool Key::set(std::wstring_view name, Type type, const std::vector<std::uint8_t>& data) {
  return mutate(root_, [&](Node& tree, bool& failed) {
    Node* node = find(tree, path_);
    failed = !node;  // the key was deleted meanwhile
    return node && node->setValue(Value{std::wstring(name), type, data});
  });
}

bool Key::setString(std::wstring_view name, std::wstring_view text) {
  return set(name, Type::Sz, detail::stringData(text));
}

bool Key::setDword(std::wstring_view name, std::uint32_t value) {
  return set(name, Type::Dword,
             {std::uint8_t(value), std::uint8_t(value >> 8), std::uint8_t(value >> 16),
              std::uint8_t(value >> 24)});
}

bool Key::deleteValue(std::wstring_view name) {
  return mutate(root_, [&](Node& tree, bool& failed) {
    Node* node = find(tree, path_);
    failed = !node || !node->deleteValue(name);
    return !failed;
  });
}

std::vector<std::wstring> Key::subkeys() const {
  return withTree(root_, [&](Node& tree) {
    std::vector<std::wstring> names;
    if (Node* node = find(tree, path_))
      for (const auto& [folded, child] : node->subkeys) names.push_back(child->name);
    return names;
  });
}

std::vector<Value> Key::values() const {
  return withTree(root_, [&](Node& tree) {
    Node* node = find(tree, path_);
    return node ? node->values : std::vector<Value>{};
  });
}

std::wstring_view rootName(Root root) {
  return root == Root::LocalMachine ? L"HKEY_LOCAL_MACHINE" : L"HKEY_CURRENT_USER";
}

std::optional<std::pair<Root, std::wstring>> parseKeyName(std::wstring_view fullName) {
  std::size_t slash = fullName.find(L'\\');
  std::wstring_view head = fullName.substr(0, slash);
  std::wstring_view rest = slash == std::wstring_view::npos ? L"" : fullName.substr(slash + 1);
  std::wstring path;
  for (const auto& part : detail::splitKeyPath(rest)) path += (path.empty() ? L"" : L"\\") + part;
  if (equalNoCase(head, L"HKEY_LOCAL_MACHINE") || equalNoCase(head, L"HKLM"))
    return std::pair{Root::LocalMachine, path};
  if (equalNoCase(head, L"HKEY_CURRENT_USER") || equalNoCase(head, L"HKCU"))
    return std::pair{Root::CurrentUser, path};
  return std::nullopt;
}

std::string exportText(Root root, std::wstring_view path) {
  return withTree(root, [&](Node& tree) {
    Node* node = find(tree, path);
    if (!node) return detail::writeRegText(Node{}, L"", true);
    std::wstring keyName(rootName(root));
    if (node != &tree) keyName += L"\\" + storedPath(tree, path);
    return detail::writeRegText(*node, keyName, node == &tree);
  });
}

void importText(std::string_view text, std::string_view sourceName) {
  auto ops = detail::parseRegText(text, sourceName, nullptr);
  std::vector<Root> roots;
  for (const auto& op : ops) roots.push_back(op.root);
  Transaction transaction(roots);
  for (Root root : {Root::CurrentUser, Root::LocalMachine}) {
    if (std::find(roots.begin(), roots.end(), root) == roots.end()) continue;
    detail::applyOps(transaction.tree(root), root, ops);
    if (!transaction.commit(root))
      throw std::runtime_error("cannot save " + quotedPath(hiveFile(root)));
  }
}

// ---- reg.exe's view of value data ----

namespace {

const std::pair<Type, std::wstring_view> typeNames[] = {
    {Type::None, L"REG_NONE"},       {Type::Sz, L"REG_SZ"},
    {Type::ExpandSz, L"REG_EXPAND_SZ"}, {Type::Binary, L"REG_BINARY"},
    {Type::Dword, L"REG_DWORD"},     {Type::MultiSz, L"REG_MULTI_SZ"},
    {Type::Qword, L"REG_QWORD"},
};

// A number in decimal or 0x-hex that fits `bits` bits.
std::optional<std::uint64_t> parseNumber(std::wstring_view text, int bits) {
  int base = 10;
  if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.size() > 20) return std::nullopt;
  std::uint64_t n = 0;
  for (wchar_t c : text) {
    int d = std::iswdigit(c) ? c - L'0' : (base == 16 && std::iswxdigit(c)) ? (std::towlower(c) - L'a' + 10) : -1;
    if (d < 0) return std::nullopt;
    if (n > (~std::uint64_t(0) - d) / base) return std::nullopt;
    n = n * base + d;
  }
  if (bits < 64 && n >> bits) return std::nullopt;
  return n;
}

std::vector<std::uint8_t> littleEndian(std::uint64_t n, int bytes) {
  std::vector<std::uint8_t> out;
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
  return out;
}

}  // namespace

std::wstring typeName(Type type) {
  for (const auto& [t, name] : typeNames)
    if (t == type) return std::wstring(name);
  wchar_t buf[24];
  std::swprintf(buf, 24, L"REG_0x%x", static_cast<unsigned>(type));
  return buf;
}

std::optional<Type> typeFromName(std::wstring_view name) {
  for (const auto& [t, n] : typeNames)
    if (equalNoCase(n, name)) return t;
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> dataFromText(Type type, std::wstring_view text) {
  switch (type) {
    case Type::Sz:
    case Type::ExpandSz:
      return detail::stringData(text);
    case Type::MultiSz: {
      std::vector<std::uint8_t> out;
      for (std::size_t start = 0; !text.empty();) {
        std::size_t sep = text.find(L"\\0", start);
        auto item = detail::stringData(text.substr(start, sep == std::wstring_view::npos ? sep : sep - start));
        out.insert(out.end(), item.begin(), item.end());
        if (sep == std::wstring_view::npos) break;
        start = sep + 2;
      }
      out.insert(out.end(), {0, 0});
      return out;
    }
    case Type::Dword:
    case Type::Qword: {
      int bytes = type == Type::Dword ? 4 : 8;
      auto n = parseNumber(text, bytes * 8);
      if (!n) return std::nullopt;
      return littleEndian(*n, bytes);
    }
    default: {
      if (text.size() % 2) return std::nullopt;
      std::vector<std::uint8_t> out;
      for (std::size_t i = 0; i < text.size(); i += 2) {
        if (!std::iswxdigit(text[i]) || !std::iswxdigit(text[i + 1])) return std::nullopt;
        out.push_back(static_cast<std::uint8_t>(std::stoul(std::wstring(text.substr(i, 2)), nullptr, 16)));
      }
      return out;
    }
  }
}

std::wstring dataToText(const Value& value) {
  const auto& d = value.data;
  if (auto text = value.text()) return *text;
  if ((value.type == Type::Dword && d.size() == 4) || (value.type == Type::Qword && d.size() == 8)) {
    std::uint64_t n = 0;
    for (std::size_t i = d.size(); i-- > 0;) n = n << 8 | d[i];
    wchar_t buf[24];
    std::swprintf(buf, 24, L"0x%llx", static_cast<unsigned long long>(n));
    return buf;
  }
  if (value.type == Type::MultiSz) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < d.size(); i += 2) units.push_back(static_cast<char16_t>(d[i] | d[i + 1] << 8));
    while (!units.empty() && units.back() == 0) units.pop_back();
    std::wstring out;
    for (wchar_t c : fromUtf16(units)) out += c ? std::wstring(1, c) : std::wstring(L"\\0");
    return out;
  }
  std::wstring out;
  wchar_t buf[4];
  for (std::uint8_t b : d) {
    std::swprintf(buf, 4, L"%02X", b);
    out += buf;
  }
  return out;
}

}  // namespace plat::reg

void plat::detail::resetRegistry() { plat::reg::forgetHives(); }
