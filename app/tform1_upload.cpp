// Upload of files into the module from an upload list.
// Not built yet: these handlers deliberately do nothing until their subsystem lands.
#include "tform1.h"

namespace oxa {

void TForm1::sendUploadData() {}
void TForm1::advanceUpload() {}
void TForm1::LoadListClick() {}
void TForm1::ClrListClick() {}
void TForm1::UpgradeClick() {}

} // namespace oxa
