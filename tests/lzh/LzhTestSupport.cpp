#include "LzhTestSupport.h"

namespace lzhtest {

CallbackHarness* CallbackHarness::current = nullptr;

}  // namespace lzhtest
