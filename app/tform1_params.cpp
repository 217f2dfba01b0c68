// Settings pages, parameter strings, phone-book page and configuration file.
// Not built yet: these handlers deliberately do nothing until their subsystem lands.
#include "tform1.h"

namespace oxa {

void TForm1::DecodeParameters() {}
void TForm1::EncodeParameters() {}
void TForm1::clearPhoneBook() {}
void TForm1::appendPhoneBookRow(const QByteArray &, const QByteArray &) {}
QList<std::pair<QByteArray, QByteArray>> TForm1::phoneBookRows() const { return {}; }
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

} // namespace oxa
