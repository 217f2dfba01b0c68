// Handlers whose controls are in place but whose behaviour arrives with their subsystem's work:
// until then they deliberately do nothing.
#include "tform1.h"

namespace oxa {

void TForm1::RunOXAClick() {}
void TForm1::StopOXAClick() {}
void TForm1::SaveOXAClick() {}
void TForm1::LoadOXAClick() {}
void TForm1::signalClick() {}
void TForm1::InicializaceClick() {}
void TForm1::IMEIClick() {}
void TForm1::CekaniTimer() {}
void TForm1::LoadListClick() {}
void TForm1::ClrListClick() {}
void TForm1::UpgradeClick() {}
void TForm1::SaveClick() {}
void TForm1::LoadClick() {}
void TForm1::AABUTTONChange(int) {}
void TForm1::ABUTTONChange(int) {}
void TForm1::BBUTTONChange(int) {}
void TForm1::ADMINChange(int) {}
void TForm1::RelCode1Change() {}
void TForm1::RelCode2Change() {}
void TForm1::RelTime1Change() {}
void TForm1::RelTime2Change() {}
void TForm1::RelCam1Click() {}
void TForm1::RelCam2Click() {}
void TForm1::RelLi1Click() {}
void TForm1::RelLi2Click() {}
void TForm1::RelBut1Click() {}
void TForm1::RelBut2Click() {}
void TForm1::RelSMS1Click() {}
void TForm1::RelSMS2Click() {}
void TForm1::RelRing1Click() {}
void TForm1::RelRing2Click() {}
void TForm1::RelRingAll1Click() {}
void TForm1::RelRingAll2Click() {}
void TForm1::SIMCallClick() {}
void TForm1::AllCallClick() {}
void TForm1::LineInClick() {}
void TForm1::LineDelClick() {}
void TForm1::FindClick() {}
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
