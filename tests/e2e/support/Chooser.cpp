#include "support/Chooser.h"

#include <algorithm>

#include "support/WideText.h"
#include "support/WindowQueries.h"

namespace qiro::e2e {

::testing::AssertionResult OpenAndReadList(HWND chooser,
                                           std::vector<std::wstring>& items) {
  bool answered = false;
  SendWithin(chooser, CB_SHOWDROPDOWN, TRUE, 0, &answered);
  if (!answered) {
    return ::testing::AssertionFailure()
           << "CB_SHOWDROPDOWN was not answered within 5 s";
  }
  items = ComboItems(chooser);
  SendWithin(chooser, CB_SHOWDROPDOWN, FALSE, 0, &answered);
  return ::testing::AssertionSuccess();
}

bool SelectItem(HWND chooser, int index) {
  return SendWithin(chooser, CB_SETCURSEL, static_cast<WPARAM>(index), 0) ==
         index;
}

int FirstIndexOf(const std::vector<std::wstring>& items,
                 const std::wstring& text) {
  for (std::size_t index = 0; index < items.size(); ++index) {
    if (items[index] == text) {
      return static_cast<int>(index);
    }
  }
  return -1;
}

int LastIndexOf(const std::vector<std::wstring>& items,
                const std::wstring& text) {
  for (std::size_t index = items.size(); index > 0; --index) {
    if (items[index - 1] == text) {
      return static_cast<int>(index - 1);
    }
  }
  return -1;
}

std::vector<std::string> Utf8All(const std::vector<std::wstring>& texts) {
  std::vector<std::string> converted(texts.size());
  std::transform(texts.begin(), texts.end(), converted.begin(),
                 [](const std::wstring& text) { return Utf8(text); });
  return converted;
}

}  // namespace qiro::e2e
