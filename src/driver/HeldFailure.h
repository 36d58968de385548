// A failure raised inside a dialog or window procedure must not unwind
// through the platform's message loop. The procedure holds it, ends its
// dialog, and the driver raises it again once the dialog has returned.
#pragma once

// Call inside a catch block: keeps the exception being handled.
void HoldFailure();

// Raises the held failure, if any, and forgets it.
void RethrowHeldFailure();
