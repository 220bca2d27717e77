// The hidden storage tool commands of the player window.
#include "ui/PlayerDlg.h"

namespace ov {

void CPlayerDlg::OnOpenStorage() {}
void CPlayerDlg::OnMakeChannelFiles() {}

}  // namespace ov
