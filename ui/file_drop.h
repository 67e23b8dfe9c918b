#pragma once

class QLineEdit;

namespace tervela {

// Lets `edit` take one file dropped from the file manager: the drop puts the
// file's local path in place of its text. The drop is a copy, never a move, so
// the file manager keeps the file. Other drops (text) work as before.
void AcceptFileDrops(QLineEdit* edit);

}  // namespace tervela
