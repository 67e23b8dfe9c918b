#pragma once

#include <cstdint>

namespace tervela {

// Watches a point-file run and may stop it. Its calls come on the thread that
// runs the conversion, between records, about every few thousand records.
class RunObserver {
 public:
  virtual ~RunObserver() = default;

  // `bytes_read`: the input's bytes read so far; `points_written`: the
  // records converted and written so far.
  virtual void Progress(std::uint64_t bytes_read, std::uint64_t points_written) = 0;

  // True ends the run at the next record boundary, as if the input ended
  // there: every file is flushed and closed holding the whole lines written
  // so far, and the run reports success.
  virtual bool CancelRequested() = 0;
};

}  // namespace tervela
