#include "optimise/SelectedProcessName.h"

#include "app/MainWindowControls.h"

namespace qiro {

Text SelectedProcessName(const WindowToolkit& toolkit) {
  // ItemTextAt gives the empty text for the index -1 of no selection.
  return toolkit.ItemTextAt(controls::kProcessChooser,
                            toolkit.SelectedIndex(controls::kProcessChooser));
}

}  // namespace qiro
