// Feeds arbitrary bytes to the name lowering and comparison. Each name sits
// in a heap block of exactly its size, so AddressSanitizer stops a read past
// its end; the checks below stop a wrong answer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/ProcessServices.h"
#include "process/EntryExeName.h"
#include "process/EntryNameMatcher.h"
#include "process/NameComparison.h"

namespace {

using qiro::Text;
using qiro::TextView;

class ExactName {
 public:
  ExactName(const std::uint8_t* data, std::size_t size)
      : bytes_(std::make_unique<char[]>(size)), size_(size) {
    if (size > 0) {
      std::memcpy(bytes_.get(), data, size);
    }
  }
  [[nodiscard]] TextView View() const { return {bytes_.get(), size_}; }

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_;
};

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

bool IsCapital(char byte) { return byte >= 'A' && byte <= 'Z'; }

void CheckLowering(TextView name) {
  const Text lowered = qiro::LowerName(name);
  Check(lowered.size() == name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    // Only capitals change, and only into their small letters.
    Check(lowered[i] == name[i] ||
          (IsCapital(name[i]) && lowered[i] == name[i] + ('a' - 'A')));
  }
  Check(qiro::LowerName(lowered) == lowered);
  Check(qiro::NamesMatch(name, name, 0));
  Check(qiro::NamesMatch(name, lowered, 0));
}

void CheckComparison(TextView left, TextView right) {
  const bool ignoringCase = qiro::NamesMatch(left, right, 0);
  Check(ignoringCase == qiro::NamesMatch(right, left, 0));
  Check(ignoringCase == (qiro::LowerName(left) == qiro::LowerName(right)));
  const bool sameBytes = left == right;
  Check(qiro::NamesMatch(left, right, 1) == sameBytes);
  Check(qiro::NamesMatch(left, right, -1) == sameBytes);
  Check(!sameBytes || ignoringCase);
}

// The lookup's shortcut over an entry must answer as the comparison of the
// entry's name does, whatever lies in the field after its terminator.
void CheckEntryMatch(const qiro::ProcessEntry& entry, TextView wanted) {
  for (const int flag : {0, 1}) {
    const bool expected =
        qiro::NamesMatch(qiro::EntryExeName(entry), wanted, flag);
    Check(qiro::EntryNameMatches(entry, wanted, flag) == expected);
    Check(qiro::EntryNameMatcher(wanted, flag).Matches(entry) == expected);
  }
}

void CheckEntryName(const std::uint8_t* data, std::size_t size,
                    TextView wanted) {
  qiro::ProcessEntry entry;
  const std::size_t copied =
      size < entry.exeFile.size() ? size : entry.exeFile.size();
  if (copied > 0) {
    std::memcpy(entry.exeFile.data(), data, copied);
  }
  // The entry lives on the heap alone, so that a read past its field is
  // seen.
  const auto onHeap = std::make_unique<qiro::ProcessEntry>(entry);
  const TextView name = qiro::EntryExeName(*onHeap);
  Check(name.size() <= qiro::kMaxExeNameLength);
  Check(name.find('\0') == TextView::npos);
  Check(std::memcmp(name.data(), onHeap->exeFile.data(), name.size()) == 0);
  Check(name.size() == qiro::kMaxExeNameLength ||
        onHeap->exeFile[name.size()] == '\0');
  CheckEntryMatch(*onHeap, wanted);
  CheckEntryMatch(*onHeap, name);
  CheckEntryMatch(*onHeap, qiro::LowerName(name));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size == 0) {
    return 0;
  }
  // The first byte says where the rest splits into the two names.
  const std::size_t rest = size - 1;
  const std::size_t split = rest == 0 ? 0 : data[0] % (rest + 1);
  const ExactName left(data + 1, split);
  const ExactName right(data + 1 + split, rest - split);

  CheckLowering(left.View());
  CheckLowering(right.View());
  CheckComparison(left.View(), right.View());
  // The right-hand bytes fill an entry's field, terminated or not; the
  // left-hand name is looked for in it.
  CheckEntryName(data + 1 + split, rest - split, left.View());
  return 0;
}
