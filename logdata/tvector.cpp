#include "logdata/tvector.h"

namespace kv {

void TVector::setNrOfElem(long count) {
  if (count < 1 || count == NrOfElem()) return;
  elems_.resize(static_cast<std::size_t>(count), 0.0);
}

}  // namespace kv
