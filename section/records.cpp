// Encoding, decoding and file access of reinforcement records.
#include "records.h"

#include <cwctype>

#include "platform/files.h"

namespace section {

Kind kindOfName(std::wstring_view fileName) {
  auto endsWith = [&](std::wstring_view suffix) {
    if (fileName.size() < suffix.size()) return false;
    auto tail = fileName.substr(fileName.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i)
      if (std::towupper(tail[i]) != suffix[i]) return false;
    return true;
  };
  if (endsWith(L"SBM")) return Kind::Slab;
  if (endsWith(L"SCL")) return Kind::Member;
  return Kind::None;
}

const Layout& layoutOf(Kind kind) {
  static const Layout slab{104, 47, 0, {0, 1, 2, 3, 4, 42, 44}};
  static const Layout member{47, 2, 33, {0, 1, 33, 34}};
  return kind == Kind::Slab ? slab : member;
}

namespace {

constexpr std::size_t kNameBytes = 10;
constexpr int kWideOffset = 0x8000;
constexpr int kNarrowOffset = 128;

bool isScaled(const Layout& layout, std::size_t valueIndex) {
  for (std::size_t i : layout.scaled)
    if (i == valueIndex) return true;
  return false;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> encodeRecord(Kind kind, const Record& record,
                                                      bool tenths) {
  const Layout& layout = layoutOf(kind);
  if (record.values.size() < layout.valueCount()) return std::nullopt;
  std::vector<std::uint8_t> bytes(layout.recordSize, 0);
  for (std::size_t i = 0; i < kNameBytes && i < record.name.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(record.name[i] & 0xFF);
  std::size_t at = kNameBytes;
  for (std::size_t i = 0; i < layout.valueCount(); ++i) {
    int value = record.values[i];
    if (tenths && isScaled(layout, i)) value /= 10;  // truncates towards zero
    if (i < layout.wideValues) {
      int stored = value + kWideOffset;
      if (stored < 0 || stored > 0xFFFF) return std::nullopt;
      bytes[at++] = static_cast<std::uint8_t>(stored >> 8);
      bytes[at++] = static_cast<std::uint8_t>(stored & 0xFF);
    } else {
      int stored = value + kNarrowOffset;
      if (stored < 0 || stored > 0xFF) return std::nullopt;
      bytes[at++] = static_cast<std::uint8_t>(stored);
    }
  }
  return bytes;
}

Record decodeRecord(Kind kind, std::span<const std::uint8_t> bytes, bool tenths) {
  const Layout& layout = layoutOf(kind);
  Record record;
  for (std::size_t i = 0; i < kNameBytes && bytes[i] != 0; ++i) record.name.push_back(bytes[i]);
  std::size_t at = kNameBytes;
  for (std::size_t i = 0; i < layout.valueCount(); ++i) {
    int value;
    if (i < layout.wideValues) {
      value = ((bytes[at] << 8) | bytes[at + 1]) - kWideOffset;
      at += 2;
    } else {
      value = bytes[at++] - kNarrowOffset;
    }
    if (tenths && isScaled(layout, i)) value *= 10;
    record.values.push_back(value);
  }
  return record;
}

std::vector<std::uint8_t> fillerRecord(Kind kind) {
  const Layout& layout = layoutOf(kind);
  std::vector<std::uint8_t> bytes(layout.recordSize, 0);
  for (std::size_t i = 0; i < layout.wideValues; ++i) bytes[kNameBytes + 2 * i] = 0x80;
  return bytes;
}

std::unique_ptr<RecordFile> RecordFile::open(std::wstring_view windowsPath, Kind kind) {
  std::FILE* file = plat::openFile(windowsPath, L"r+b");
  if (!file) file = plat::openFile(windowsPath, L"w+b");
  if (!file) return nullptr;
  return std::unique_ptr<RecordFile>(new RecordFile(file, kind));
}

RecordFile::~RecordFile() { std::fclose(file_); }

long RecordFile::length() {
  if (std::fseek(file_, 0, SEEK_END) != 0) return -1;
  return std::ftell(file_);
}

std::optional<Record> RecordFile::read(int index, bool unitSwitch) {
  const Layout& layout = layoutOf(kind_);
  if (index < 0) return std::nullopt;
  long offset = static_cast<long>(layout.recordSize) * index;
  if (length() < offset + 1) return std::nullopt;
  // A last record cut short reads as if the missing bytes were 0.
  std::vector<std::uint8_t> bytes(layout.recordSize, 0);
  if (std::fseek(file_, offset, SEEK_SET) != 0) return std::nullopt;
  std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file_);
  (void)got;
  return decodeRecord(kind_, bytes, scalesRecord(unitSwitch, index));
}

bool RecordFile::write(int index, const Record& record, bool unitSwitch) {
  const Layout& layout = layoutOf(kind_);
  if (index < 0) return false;
  auto bytes = encodeRecord(kind_, record, scalesRecord(unitSwitch, index));
  if (!bytes) return false;
  long size = static_cast<long>(layout.recordSize);
  long offset = size * index;
  long end = length();
  if (end < 0) return false;
  if (end < offset) {
    long fillers = (offset - end - 1) / size + 1;
    auto filler = fillerRecord(kind_);
    for (long i = 0; i < fillers; ++i)
      if (std::fwrite(filler.data(), 1, filler.size(), file_) != filler.size()) return false;
  }
  if (std::fseek(file_, offset, SEEK_SET) != 0) return false;
  if (std::fwrite(bytes->data(), 1, bytes->size(), file_) != bytes->size()) return false;
  return std::fflush(file_) == 0;
}

}  // namespace section
