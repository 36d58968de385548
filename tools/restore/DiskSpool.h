// Copies of the installer and the volumes, made as each disk comes, for a
// run that asks for the disks one after another in one drive: a disk taken
// out can still be read from its copy. The copies are temporaries (see
// PendingFile) that go with the spool, or with the process on a signal.
#pragma once

#include <memory>
#include <vector>

#include "PendingFile.h"
#include "VolumeFinder.h"

class DiskSpool {
 public:
  // `part` with a copy of its bytes (all of them, or its first `length`).
  Volume Keep(const Volume& part, std::int64_t length = -1);

 private:
  std::vector<std::unique_ptr<PendingFile>> copies_;
};
