// kcCore's file and folder operations on the machine's Windows paths, as the LISP functions dwg2bak,
// fremove, frename, fcopy, cwd, flist, dlist, cdd, md, fhid, ftime and fl_len use them. Failures
// are silent, as the LISP programs expect; what is written is written whole (a temporary file,
// then a rename), so a failed copy or list never leaves a half-written file behind.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// dwg2bak: renames the drawing "<path without its 4-character extension>.DWG" to ".BAK", replacing
// an older backup. The extension is cut whenever the path holds a dot, also one in a folder name.
void backUpDrawing(std::wstring_view path);
// frename: removes any file at `to`, then renames `from` to `to`.
void renameReplacing(std::wstring_view from, std::wstring_view to);
// fcopy: copies every byte of `from` to `to`; nothing when `from` cannot be read or `to` written.
void copyBytes(std::wstring_view from, std::wstring_view to);

// cwd: the current folder of the current drive; nothing when it is longer than 259 characters.
std::optional<std::wstring> currentFolder();

// flist's result text: "(" then every name between double quotes, nothing between them, then ")".
std::wstring fileListText(const std::vector<std::wstring>& names);
// flist: the names matching `pattern`, in enumeration order, "." and ".." included when they match.
std::vector<std::wstring> matchingNames(std::wstring_view pattern);
// Writes the list of `pattern`'s matches to `resultFile` in the ANSI code page, replacing it.
// The number of names written, or nothing when the result file cannot be written.
std::optional<int> writeFileList(std::wstring_view resultFile, std::wstring_view pattern);
// dlist: the subfolders of `folder` (given with or without its trailing backslash), without "."
// and "..", in enumeration order.
std::vector<std::wstring> subfolders(std::wstring_view folder);

// cdd: makes the drive of the path's first character current, then the rest after its first two
// characters that drive's current folder. Nothing changes when the machine lacks the drive.
void changeDriveAndFolder(std::wstring_view path);
// md: creates the last folder of the path on its drive, the current drive restored afterwards.
// Nothing is created when the machine lacks the drive.
void makeFolderOnDrive(std::wstring_view path);
// fhid: adds the hidden attribute to the file's own.
void hideFile(std::wstring_view path);

// ftime: the last-modification time in local time as the real yymmdd.HHMMSS; 0.0 when missing.
double modificationStamp(std::wstring_view path);
// fl_len: how many reads of up to 255 characters the text file takes, a read also ending after a
// line feed; 0 when the file cannot be opened.
int countLineReads(std::wstring_view path);

}  // namespace core
