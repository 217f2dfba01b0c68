// Memory trees and editors, access codes and the detect box.
// Not built yet: these handlers deliberately do nothing until their subsystem lands.
#include "tform1.h"

namespace oxa {

void TForm1::decodeTaggedEntry(const QByteArray &, const QByteArray &, const QByteArray &) {}
void TForm1::clearTrees() {}
void TForm1::TreeButtonsAddition() {}
void TForm1::TreeButtonsClick() {}
void TForm1::TreeButtonsSelAddition() {}
void TForm1::TreeButtonsSelClick() {}
void TForm1::PosButtonChange() {}
void TForm1::ButtonChange() {}
void TForm1::ButtonPNumberChange() {}
void TForm1::AddButtonClick() {}
void TForm1::WriteButtonClick() {}
void TForm1::DelButtonSelClick() {}
void TForm1::DelButtonClick() {}
void TForm1::TreeMemoAddition() {}
void TForm1::TreeMemoClick() {}
void TForm1::TreeMemoSelAddition() {}
void TForm1::TreeMemoSelClick() {}
void TForm1::PosMemoChange() {}
void TForm1::MemoChange() {}
void TForm1::MemoPNumberChange() {}
void TForm1::AddMemoClick() {}
void TForm1::WriteMemoClick() {}
void TForm1::DelMemoSelClick() {}
void TForm1::DelMemoClick() {}
void TForm1::TreeCodeAddition() {}
void TForm1::DelCodeClick() {}
void TForm1::AddCodeClick() {}
void TForm1::DetButClick() {}
void TForm1::OnClickCode() {}
void TForm1::CodeMChange(int) {}
void TForm1::WriteCodeClick(int) {}

} // namespace oxa
