// Device operations: run, stop, read and write the whole configuration, signal.
// Not built yet: these handlers deliberately do nothing until their subsystem lands.
#include "tform1.h"

namespace oxa {

void TForm1::PrepareRead() {}
void TForm1::WriteEntry(const QByteArray &, const QByteArray &) {}
void TForm1::RunOXAClick() {}
void TForm1::StopOXAClick() {}
void TForm1::SaveOXAClick() {}
void TForm1::LoadOXAClick() {}
void TForm1::signalClick() {}
void TForm1::InicializaceClick() {}
void TForm1::IMEIClick() {}
void TForm1::CekaniTimer() {}

} // namespace oxa
