// A second start points to the first: the window of the Tessaro already
// running from the same program folder comes to the front. Nothing of the
// program's files is read or written for it; where no such window can be
// found, or the platform has no display, nothing happens.
#pragma once

namespace tessaro::platform {

void BringRunningInstanceForward();

} // namespace tessaro::platform
