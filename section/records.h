// Reinforcement record files: fixed-length binary records of slab data (names ending in SBM,
// 104-byte records) and member data (names ending in SCL, 47-byte records). Values are stored
// big-endian with an offset (two-byte values + 0x8000, one-byte values + 128). With the unit
// switch on, a few values of every record but the first are stored in tenths of the values the
// caller uses.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace section {

enum class Kind { None = 0, Slab = 1, Member = 2 };

// The kind a file name gives: SBM (any case) at the end is a slab file, SCL a member file.
Kind kindOfName(std::wstring_view fileName);

struct Record {
  std::wstring name;  // at most 10 characters; each stored as its low byte
  std::vector<int> values;  // 47 (slab) or 35 (member)
};

struct Layout {
  std::size_t recordSize;
  std::size_t wideValues;  // two-byte values after the name
  std::size_t narrowValues;  // one-byte values after those
  std::vector<std::size_t> scaled;  // values kept in tenths under the unit switch
  std::size_t valueCount() const { return wideValues + narrowValues; }
};

const Layout& layoutOf(Kind kind);  // kind must not be None

// Encodes a record; nullopt when a value does not fit its field (it would be stored as another
// value). `tenths` is the unit switch for this record.
std::optional<std::vector<std::uint8_t>> encodeRecord(Kind kind, const Record& record, bool tenths);
Record decodeRecord(Kind kind, std::span<const std::uint8_t> bytes, bool tenths);
std::vector<std::uint8_t> fillerRecord(Kind kind);

// The unit switch applies to every record but record 0.
inline bool scalesRecord(bool unitSwitch, int index) { return unitSwitch && index > 0; }

// An open record file of a known kind.
class RecordFile {
 public:
  // Opens the file for binary update, creating it when missing; nullptr when that fails.
  static std::unique_ptr<RecordFile> open(std::wstring_view windowsPath, Kind kind);
  ~RecordFile();

  Kind kind() const { return kind_; }
  // The record at `index`; nullopt when the file does not reach it or the index is negative.
  std::optional<Record> read(int index, bool unitSwitch);
  // Writes the record, first appending filler records when the file ends before its offset.
  // false when a value does not fit, the index is negative, or the file cannot be written.
  bool write(int index, const Record& record, bool unitSwitch);

 private:
  RecordFile(std::FILE* file, Kind kind) : file_(file), kind_(kind) {}
  long length();
  std::FILE* file_;
  Kind kind_;
};

}  // namespace section
