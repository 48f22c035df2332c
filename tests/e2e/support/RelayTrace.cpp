#include "support/RelayTrace.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>

namespace qiro::e2e {
namespace {

constexpr std::string_view kCall = ":Call KERNEL32.";
constexpr std::string_view kRet = ":Ret  KERNEL32.";
constexpr std::string_view kPseudoHandle = "ffffffff";
constexpr std::string_view kAllBits = "ffffffff";

struct Call {
  std::string_view thread;
  std::string_view function;
  std::vector<std::string_view> arguments;
};

struct Return {
  std::string_view thread;
  std::string_view function;
  std::string_view value;
};

std::vector<std::string_view> SplitArguments(std::string_view text) {
  std::vector<std::string_view> arguments;
  while (!text.empty()) {
    const auto comma = text.find(',');
    arguments.push_back(text.substr(0, comma));
    if (comma == std::string_view::npos) {
      break;
    }
    text.remove_prefix(comma + 1);
  }
  return arguments;
}

std::optional<Call> ParseCall(std::string_view line) {
  const auto at = line.find(kCall);
  if (at == std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view rest = line.substr(at + kCall.size());
  const auto open = rest.find('(');
  const auto close = rest.find(')', open);
  if (open == std::string_view::npos || close == std::string_view::npos) {
    return std::nullopt;
  }
  return Call{line.substr(0, at), rest.substr(0, open),
              SplitArguments(rest.substr(open + 1, close - open - 1))};
}

std::optional<Return> ParseReturn(std::string_view line) {
  const auto at = line.find(kRet);
  if (at == std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view rest = line.substr(at + kRet.size());
  const auto open = rest.find('(');
  constexpr std::string_view kRetval = "retval=";
  const auto value = rest.find(kRetval);
  if (open == std::string_view::npos || value == std::string_view::npos) {
    return std::nullopt;
  }
  std::string_view number = rest.substr(value + kRetval.size());
  number = number.substr(0, number.find(' '));
  return Return{line.substr(0, at), rest.substr(0, open), number};
}

DWORD Hex(std::string_view text) {
  return static_cast<DWORD>(
      std::strtoul(std::string(text).c_str(), nullptr, 16));
}

// Follows the calls line by line: which thread is inside OpenProcess for
// which process, and which handles are open for which process.
class TraceReader {
 public:
  void Line(std::string_view line, std::size_t offset) {
    if (const auto call = ParseCall(line)) {
      OnCall(*call, offset);
    } else if (const auto ret = ParseReturn(line)) {
      OnReturn(*ret, offset);
    }
  }

  TraceAnalysis Finish() {
    analysis_.handlesStillOpen = open_.size();
    return std::move(analysis_);
  }

 private:
  void OnCall(const Call& call, std::size_t offset) {
    if (call.function == "OpenProcess" && call.arguments.size() == 3) {
      OnOpenProcess(call);
    } else if (call.function == "SetProcessWorkingSetSize" &&
               call.arguments.size() == 3) {
      OnTrim(call, offset);
    } else if (call.function == "SetPriorityClass" &&
               call.arguments.size() == 2) {
      OnHandleUse(call.arguments[0], TraceEventKind::PriorityChange, offset,
                  "SetPriorityClass");
    } else if (call.function == "CloseHandle" && call.arguments.size() == 1) {
      OnClose(call.arguments[0], offset);
    }
  }

  void OnOpenProcess(const Call& call) {
    const DWORD processId = Hex(call.arguments[2]);
    if (call.arguments[0] != "001f0fff") {
      Violation("OpenProcess of process " + std::to_string(processId) +
                " with access " + std::string(call.arguments[0]) +
                " instead of 001f0fff");
    }
    if (call.arguments[1] != "00000000") {
      Violation("OpenProcess of process " + std::to_string(processId) +
                " with an inheritable handle");
    }
    if (!open_.empty()) {
      Violation("OpenProcess of process " + std::to_string(processId) +
                " while handle " + std::to_string(open_.begin()->first) +
                " of an earlier open was not yet closed");
    }
    opening_[std::string(call.thread)] = processId;
  }

  void OnReturn(const Return& ret, std::size_t offset) {
    if (ret.function != "OpenProcess") {
      return;
    }
    const auto opening = opening_.find(std::string(ret.thread));
    if (opening == opening_.end()) {
      return;
    }
    const DWORD handle = Hex(ret.value);
    if (handle != 0) {
      open_[handle] = opening->second;
      analysis_.events.push_back(
          {offset, TraceEventKind::ProcessOpen, opening->second});
    }
    opening_.erase(opening);
  }

  void OnTrim(const Call& call, std::size_t offset) {
    if (call.arguments[1] != kAllBits || call.arguments[2] != kAllBits) {
      Violation("SetProcessWorkingSetSize(" + std::string(call.arguments[0]) +
                ", " + std::string(call.arguments[1]) + ", " +
                std::string(call.arguments[2]) + "): bounds are not both -1");
    }
    if (call.arguments[0] == kPseudoHandle) {
      analysis_.events.push_back({offset, TraceEventKind::OwnTrim, 0});
      return;
    }
    OnHandleUse(call.arguments[0], TraceEventKind::ProcessTrim, offset,
                "SetProcessWorkingSetSize");
  }

  void OnHandleUse(std::string_view handleText, TraceEventKind kind,
                   std::size_t offset, const std::string& function) {
    const auto handle = open_.find(Hex(handleText));
    if (handle == open_.end()) {
      Violation(function + " on handle " + std::string(handleText) +
                ", which no OpenProcess returned");
      return;
    }
    analysis_.events.push_back({offset, kind, handle->second});
  }

  void OnClose(std::string_view handleText, std::size_t offset) {
    const auto handle = open_.find(Hex(handleText));
    if (handle == open_.end()) {
      return;  // a snapshot or another handle of the program's own
    }
    analysis_.events.push_back(
        {offset, TraceEventKind::ProcessClose, handle->second});
    open_.erase(handle);
  }

  void Violation(std::string text) {
    if (analysis_.violations.size() < 20) {
      analysis_.violations.push_back(std::move(text));
    }
  }

  TraceAnalysis analysis_;
  std::map<std::string, DWORD> opening_;  // thread -> process being opened
  std::map<DWORD, DWORD> open_;           // handle -> process
};

}  // namespace

int TraceAnalysis::Count(TraceEventKind kind, DWORD processId,
                         std::size_t begin, std::size_t end) const {
  return static_cast<int>(
      std::count_if(events.begin(), events.end(), [&](const TraceEvent& event) {
        return event.kind == kind && event.processId == processId &&
               event.offset >= begin && event.offset < end;
      }));
}

TraceAnalysis AnalyseTrace(std::string_view log) {
  TraceReader reader;
  std::size_t offset = 0;
  while (offset < log.size()) {
    const auto end = log.find('\n', offset);
    if (end == std::string_view::npos) {
      break;  // a line still being written
    }
    reader.Line(log.substr(offset, end - offset), offset);
    offset = end + 1;
  }
  return reader.Finish();
}

std::size_t RelayLog::Size() const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data) ==
      FALSE) {
    return 0;
  }
  return static_cast<std::size_t>(data.nFileSizeLow);
}

std::string RelayLog::Contents() const {
  HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return {};
  }
  std::string contents;
  std::vector<char> buffer(65536);
  DWORD read = 0;
  while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read,
                  nullptr) != FALSE &&
         read > 0) {
    contents.append(buffer.data(), read);
  }
  CloseHandle(file);
  return contents;
}

TraceAnalysis RelayLog::Analyse() const { return AnalyseTrace(Contents()); }

}  // namespace qiro::e2e
