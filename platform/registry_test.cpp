// The registry: names without regard to case, enumeration order, the hive file format, damaged
// hives refused and kept, concurrent writers (handles and processes), import and export.
#include "platform/registry.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/temp_machine.h"

using namespace plat;
using namespace plat::reg;

namespace {

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::wstring textOf(const Key& key, std::wstring_view name) {
  auto value = key.query(name);
  return value && value->text() ? *value->text() : L"<none>";
}

std::vector<std::wstring> valueNames(const Key& key) {
  std::vector<std::wstring> names;
  for (const auto& v : key.values()) names.push_back(v.name);
  return names;
}

class Registry : public ::testing::Test {
 protected:
  TempMachine machine;
};

}  // namespace

TEST_F(Registry, KeysAndValuesIgnoreCaseAndKeepTheirCreationCase) {
  auto key = Key::create(Root::CurrentUser, L"Software\\Vantor\\KORA_CAD");
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->setString(L"KDIR", L"C:\\KORA_CAD\\"));
  auto again = Key::open(Root::CurrentUser, L"SOFTWARE\\vantor\\kora_cad");
  ASSERT_TRUE(again);
  EXPECT_EQ(again->path(), L"Software\\Vantor\\KORA_CAD");
  EXPECT_EQ(textOf(*again, L"kdir"), L"C:\\KORA_CAD\\");
  ASSERT_TRUE(again->setString(L"Kdir", L"D:\\"));
  EXPECT_EQ(valueNames(*key), std::vector<std::wstring>{L"KDIR"});
  EXPECT_FALSE(Key::open(Root::LocalMachine, L"Software\\Vantor"));
  EXPECT_FALSE(Key::open(Root::CurrentUser, L"Software\\Vantor\\Missing"));
}

TEST_F(Registry, SubkeysAlphabeticalValuesInCreationOrder) {
  auto key = Key::create(Root::CurrentUser, L"Order");
  for (const wchar_t* name : {L"beta", L"Alpha", L"_under", L"GAMMA", L"alpha2"})
    ASSERT_TRUE(Key::create(Root::CurrentUser, std::wstring(L"Order\\") + name));
  EXPECT_EQ(key->subkeys(), (std::vector<std::wstring>{L"Alpha", L"alpha2", L"beta", L"GAMMA", L"_under"}));
  for (const wchar_t* name : {L"z", L"A", L"m"}) ASSERT_TRUE(key->setDword(name, 1));
  ASSERT_TRUE(key->setDword(L"a", 2));  // overwriting keeps the place
  EXPECT_EQ(valueNames(*key), (std::vector<std::wstring>{L"z", L"A", L"m"}));
  EXPECT_EQ(key->query(L"A")->data, (std::vector<std::uint8_t>{2, 0, 0, 0}));
}

TEST_F(Registry, HiveFileIsRegistryEditorText) {
  auto key = Key::create(Root::LocalMachine, L"SOFTWARE\\Wow6432Node\\Vantor\\KORA_CAD");
  ASSERT_TRUE(key->setString(L"Version", L"2013.01"));
  ASSERT_TRUE(key->setString(L"", L"預設 \"q\" \\"));
  ASSERT_TRUE(key->setDword(L"OEM", 42));
  EXPECT_EQ(readFile(machine.root() / "system.reg"),
            "Windows Registry Editor Version 5.00\n"
            "\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
            "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node]\n"
            "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Vantor]\n"
            "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Vantor\\KORA_CAD]\n"
            "\"Version\"=\"2013.01\"\n"
            "@=\"預設 \\\"q\\\" \\\\\"\n"
            "\"OEM\"=dword:0000002a\n");
  EXPECT_FALSE(std::filesystem::exists(machine.root() / "user.reg"));
  openMachine(machine.root());  // a fresh process's view
  EXPECT_EQ(textOf(*Key::open(Root::LocalMachine, key->path()), L""), L"預設 \"q\" \\");
}

TEST_F(Registry, UnusualNamesAndDataSurviveTheHiveFile) {
  auto key = Key::create(Root::CurrentUser, L"odd]name\[x]");
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->setString(L"line\nbreak", L"two\nlines"));
  ASSERT_TRUE(key->setString(L"empty", L""));
  ASSERT_TRUE(key->set(L"@", Type::Sz, {}));  // no terminator at all
  ASSERT_TRUE(key->set(L"odd", static_cast<Type>(0x1234), {1, 2}));
  const auto before = key->values();
  openMachine(machine.root());
  auto reread = Key::open(Root::CurrentUser, L"ODD]NAME\[X]");
  ASSERT_TRUE(reread);
  const auto after = reread->values();
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(after[i].name, before[i].name);
    EXPECT_EQ(after[i].type, before[i].type);
    EXPECT_EQ(after[i].data, before[i].data);
  }
  EXPECT_FALSE(Key::create(Root::CurrentUser, L"bad\nkey"));
}

TEST_F(Registry, DamagedHiveIsRefusedAndNeverOverwritten) {
  const std::string damaged =
      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\A]\n\"x\"=dword:zz\n";
  const auto file = machine.root() / "user.reg";
  ASSERT_TRUE(writeFileAtomically(file, damaged));
  try {
    Key::open(Root::CurrentUser, L"A");
    FAIL() << "no HiveError";
  } catch (const HiveError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("\"" + file.string() + "\" line 4: ", 0), 0u) << e.what();
  }
  EXPECT_THROW(Key::create(Root::CurrentUser, L"B"), HiveError);
  EXPECT_THROW(importText("Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\C]\n", "x.reg"),
               HiveError);
  EXPECT_EQ(readFile(file), damaged);
  // The other hive is unaffected.
  EXPECT_TRUE(Key::create(Root::LocalMachine, L"B"));
}

TEST_F(Registry, TwoHandlesAndOutsideChangesLoseNothing) {
  auto first = Key::create(Root::CurrentUser, L"Shared");
  auto second = Key::open(Root::CurrentUser, L"shared");
  ASSERT_TRUE(first->setString(L"one", L"1"));
  ASSERT_TRUE(second->setString(L"two", L"2"));
  // Another program rewrites the hive: the next read and the next change both see it.
  std::string text = readFile(machine.root() / "user.reg") + "\"three\"=\"3\"\n";
  ASSERT_TRUE(writeFileAtomically(machine.root() / "user.reg", text));
  EXPECT_EQ(textOf(*first, L"three"), L"3");
  ASSERT_TRUE(first->setString(L"four", L"4"));
  EXPECT_EQ(valueNames(*second), (std::vector<std::wstring>{L"one", L"two", L"three", L"four"}));
}

TEST_F(Registry, ProcessesWritingAtOnceLoseNothing) {
  ASSERT_TRUE(Key::create(Root::CurrentUser, L"Race"));
  constexpr int perProcess = 40;
  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      bool ok = true;
      auto key = Key::open(Root::CurrentUser, L"Race");
      for (int i = 0; i < perProcess && key; ++i)
        ok = key->setDword(L"p" + std::to_wstring(c) + L"_" + std::to_wstring(i), i) && ok;
      _exit(ok && key ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(Key::open(Root::CurrentUser, L"Race")->values().size(), 2u * perProcess);
}

TEST_F(Registry, DeletingKeysAndValues) {
  auto key = Key::create(Root::CurrentUser, L"Top\\Mid\\Leaf");
  ASSERT_TRUE(key->setString(L"v", L"x"));
  EXPECT_TRUE(key->deleteValue(L"V"));
  EXPECT_FALSE(key->deleteValue(L"v"));
  EXPECT_TRUE(Key::deleteTree(Root::CurrentUser, L"top\\MID"));
  EXPECT_FALSE(Key::open(Root::CurrentUser, L"Top\\Mid"));
  EXPECT_TRUE(Key::open(Root::CurrentUser, L"Top"));
  EXPECT_FALSE(Key::deleteTree(Root::CurrentUser, L"Top\\Mid"));
  EXPECT_FALSE(key->setString(L"v", L"x"));  // the key is gone
}

TEST_F(Registry, ExportImportRoundTrip) {
  const std::string text =
      "Windows Registry Editor Version 5.00\n"
      "\n[HKEY_CURRENT_USER\\Software\\Vantor\\KORA_CAD]\n"
      "@=\"預設值\"\n"
      "\"KDIR\"=\"C:\\\\KORA_CAD\\\\\"\n"
      "\"Quote \\\"name\\\"\"=\"say \\\"hi\\\"\"\n"
      "\"Count\"=dword:ffffffff\n"
      "\"Path\"=hex(2):25,00,41,00,25,00,00,00\n"
      "\"List\"=hex(7):61,00,00,00,62,00,00,00,00,00\n"
      "\"Big\"=hex(b):01,00,00,00,00,00,00,00\n"
      "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\n"
      "  16,17,18,19,1a,1b,1c,1d,1e,1f,20\n"
      "\"Lines\"=hex(1):61,00,0a,00,62,00,00,00\n"
      "\n[HKEY_CURRENT_USER\\Software\\Vantor\\KORA_CAD\\Dialog]\n"
      "\n[HKEY_CURRENT_USER\\Software\\Vantor\\KORA_CAD\\QuickNumber]\n"
      "\"中文\"=\"數字\"\n";
  importText(text, "kora.reg");
  auto key = Key::open(Root::CurrentUser, L"software\\vantor\\kora_cad");
  ASSERT_TRUE(key);
  EXPECT_EQ(textOf(*key, L""), L"預設值");
  EXPECT_EQ(textOf(*key, L"kdir"), L"C:\\KORA_CAD\\");
  EXPECT_EQ(textOf(*key, L"Quote \"name\""), L"say \"hi\"");
  EXPECT_EQ(textOf(*key, L"Path"), L"%A%");
  EXPECT_EQ(key->query(L"Path")->type, Type::ExpandSz);
  EXPECT_EQ(key->query(L"Blob")->data.size(), 33u);
  EXPECT_EQ(key->query(L"Lines")->byteSize(), 8u);
  EXPECT_EQ(textOf(*Key::open(Root::CurrentUser, key->path() + L"\\QuickNumber"), L"中文"), L"數字");

  std::string exported = exportText(Root::CurrentUser, L"SOFTWARE\\Vantor\\KORA_CAD");
  EXPECT_EQ(exported, text);  // the writer produces exactly the hive format it reads
  TempMachine other;
  importText(exported, "exported.reg");
  EXPECT_EQ(exportText(Root::CurrentUser, L"Software\\Vantor\\KORA_CAD"), text);
}

TEST_F(Registry, ImportAppliesDeletionsAndReadsUtf16) {
  auto key = Key::create(Root::LocalMachine, L"Old\\Sub");
  ASSERT_TRUE(key->setString(L"keep", L"1"));
  ASSERT_TRUE(key->setString(L"drop", L"2"));
  ASSERT_TRUE(Key::create(Root::LocalMachine, L"Gone\\Deep"));
  std::u16string source = u"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n"
                          u"[-HKEY_LOCAL_MACHINE\\Gone]\r\n\r\n"
                          u"[HKEY_LOCAL_MACHINE\\Old\\Sub]\r\n\"drop\"=-\r\n\"新\"=\"值\"\r\n";
  std::string bytes;
  for (char16_t u : source) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  importText(bytes, "utf16.reg");
  EXPECT_FALSE(Key::open(Root::LocalMachine, L"Gone"));
  EXPECT_EQ(valueNames(*key), (std::vector<std::wstring>{L"keep", L"新"}));
}

TEST_F(Registry, ImportFaultsNameTheLineAndChangeNothing) {
  struct Case {
    std::string body;  // after the header line
    int line;
    const char* what;
  } cases[] = {
      {"[HKEY_CURRENT_USER\\A]\n\"v\"=\"unterminated\n", 3, "unterminated string"},
      {"\"v\"=\"outside\"\n", 2, "value outside a key"},
      {"[HKEY_CLASSES_ROOT\\A]\n", 2, "unknown root key"},
      {"[HKEY_CURRENT_USER\\A]\n\n\"v\"=hex:01,0g\n", 4, "bad hex byte"},
      {"[HKEY_CURRENT_USER\\A]\n\"v\"=dword:123456789\n", 3, "bad dword"},
      {"[HKEY_CURRENT_USER\\A]\n\"v\"=\"a\\q\"\n", 3, "unknown escape"},
      {"[HKEY_CURRENT_USER\\A]\n\"v\" \"x\"\n", 3, "expected \"=\""},
      {"[HKEY_CURRENT_USER\\A\n", 2, "must end with"},
      {"[HKEY_CURRENT_USER\\A]\ngarbage\n", 3, "unexpected text"},
  };
  for (const auto& c : cases) {
    std::string text = "Windows Registry Editor Version 5.00\n" + c.body;
    try {
      importText(text, "bad.reg");
      ADD_FAILURE() << "accepted: " << c.body;
    } catch (const HiveError& e) {
      std::string expected = "\"bad.reg\" line " + std::to_string(c.line) + ": ";
      EXPECT_EQ(std::string(e.what()).rfind(expected, 0), 0u) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.what), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(importText("REGEDIT5\n", "bad.reg"), HiveError);
  EXPECT_FALSE(Key::open(Root::CurrentUser, L"A"));
  EXPECT_FALSE(std::filesystem::exists(machine.root() / "user.reg"));
}

TEST(RegistryNames, ParseKeyName) {
  auto hklm = parseKeyName(L"HKLM\\SOFTWARE\\Vantor\\");
  ASSERT_TRUE(hklm);
  EXPECT_EQ(hklm->first, Root::LocalMachine);
  EXPECT_EQ(hklm->second, L"SOFTWARE\\Vantor");
  auto hkcu = parseKeyName(L"hkey_current_user");
  ASSERT_TRUE(hkcu);
  EXPECT_EQ(hkcu->first, Root::CurrentUser);
  EXPECT_EQ(hkcu->second, L"");
  EXPECT_FALSE(parseKeyName(L"HKCR\\x"));
  EXPECT_FALSE(parseKeyName(L"HKLMX\\x"));
}

TEST(RegistryNames, CommandLineData) {
  struct Case {
    Type type;
    const wchar_t* text;
    std::vector<std::uint8_t> data;
    const wchar_t* shown;  // dataToText of the data
  } cases[] = {
      {Type::Sz, L"ab", {'a', 0, 'b', 0, 0, 0}, L"ab"},
      {Type::Dword, L"42", {42, 0, 0, 0}, L"0x2a"},
      {Type::Dword, L"0x10", {16, 0, 0, 0}, L"0x10"},
      {Type::Qword, L"4294967296", {0, 0, 0, 0, 1, 0, 0, 0}, L"0x100000000"},
      {Type::Binary, L"00ff10", {0, 0xFF, 0x10}, L"00FF10"},
      {Type::MultiSz, L"a\\0b", {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}, L"a\\0b"},
  };
  for (const auto& c : cases) {
    auto data = dataFromText(c.type, c.text);
    ASSERT_TRUE(data) << utf8(c.text);
    EXPECT_EQ(*data, c.data) << utf8(c.text);
    EXPECT_EQ(dataToText(Value{L"", c.type, c.data}), c.shown);
  }
  EXPECT_FALSE(dataFromText(Type::Dword, L"4294967296"));
  EXPECT_FALSE(dataFromText(Type::Dword, L"12x"));
  EXPECT_FALSE(dataFromText(Type::Binary, L"abc"));
  EXPECT_EQ(typeFromName(L"reg_expand_sz"), Type::ExpandSz);
  EXPECT_EQ(typeName(Type::MultiSz), L"REG_MULTI_SZ");
  EXPECT_FALSE(typeFromName(L"REG_LINK"));
}
