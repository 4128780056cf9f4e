// The answer to the question before a defragmentation, in the caller's
// terms: whether to go on, and whether to ask again next time (the
// "Don't ask me next time" tick, which counts whatever the answer).
#pragma once

namespace vh {

struct DefragConfirmation {
  bool goOn = false;
  bool askNextTime = true;
};

}  // namespace vh
