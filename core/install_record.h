// kcCore's care of the installation record at every document load: the current user's record is
// seeded from the local machine's, and the folder symbols are set from it.
#pragma once

namespace core {

// Copies every value of the machine's record that the user's record lacks (names of at most 512
// characters), creating the user's record when needed. Nothing happens without a machine record.
void seedUserRecord();

// Sets KBLK, KDEF, KDTA, KHLP, KUSR, KGUSR, KLAW and K_OEM from the user's record; a missing
// value leaves its symbol as it is.
void setFolderSymbols();

}  // namespace core
