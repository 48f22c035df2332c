#include "app/Notices.h"

#include "app/Texts.h"

namespace qiro {
namespace {

constexpr unsigned kPlainNotice = 0;  // one OK button, no icon

}  // namespace

void ShowStartupNotice(WindowToolkit& toolkit) {
  toolkit.ShowMessageBox(texts::kStartupNoticeText, kPlainNotice,
                         texts::kStartupNoticeTitle);
}

void ShowClosingNotice(WindowToolkit& toolkit) {
  toolkit.ShowMessageBox(texts::kClosingNoticeText, kPlainNotice,
                         texts::kClosingNoticeTitle);
}

void ShowBuildFailedNotice(WindowToolkit& toolkit) {
  toolkit.ShowMessageBox(texts::kBuildFailedText, kPlainNotice,
                         texts::kBuildFailedTitle);
}

}  // namespace qiro
