#include "base/Failure.h"

#include "base/State.h"

bool Fail(const char* what, std::string_view subject, std::uint32_t error) {
  StageActive = 0;
  if (RunFailure.What) return false;
  RunFailure.What = what;
  RunFailure.Subject = subject;  // a cut subject still names the file well enough
  RunFailure.Error = error;
  return false;
}

bool Failed() { return RunFailure.What != nullptr; }

void ClearFailure() { RunFailure = Failure(); }

FixedText<48> ErrorReason(std::uint32_t error) {
  using namespace PlatformError;
  switch (error) {
    case FileNotFound:
    case PathNotFound: return "it is not there";
    case AccessDenied: return "access is denied";
    case NotEnoughMemory:
    case OutOfMemory: return "there is not enough memory";
    case WriteProtect: return "the disk is write-protected";
    case NotReady: return "the drive is not ready";
    case Crc:
    case SectorNotFound:
    case ReadFault: return "the disk cannot be read";
    case SharingViolation: return "another program is using it";
    case HandleDiskFull:
    case DiskFull: return "the disk is full";
    case InvalidName: return "the name is not allowed";
    case AlreadyExists: return "a file of that name is in the way";
    default: break;
  }
  char digits[12];
  FormatDecimal(static_cast<std::int32_t>(error), digits);
  FixedText<48> reason = "Windows error ";
  reason.Append(digits);
  return reason;
}

FailureMessage FailureText(const Failure& failure) {
  FailureMessage text = failure.What ? failure.What : "";
  if (failure.Subject.empty()) return text;
  text.Append(" ");
  text.Append(failure.Subject);
  if (failure.Error != 0) {
    text.Append(": ");
    text.Append(ErrorReason(failure.Error));
  }
  text.Append(".");
  return text;
}
