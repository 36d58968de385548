// The benchmark input: files from this machine, taken in sorted path order
// so that the same machine always yields the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// The roots the corpus is drawn from, an equal share from each: text
// documentation (partly gzip-compressed), C and C++ headers, executables.
inline const std::vector<std::string> CorpusRoots = {"/usr/share/doc", "/usr/include", "/usr/bin"};

// Exactly `size` bytes; throws when the roots hold too little.
std::vector<std::uint8_t> BuildCorpus(std::size_t size);

}  // namespace bench
