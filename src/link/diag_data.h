#pragma once

#include "link/diag_sample.h"
#include "platform/mutex.h"

#include <cstddef>
#include <vector>

namespace torva {

// The bounded store of live samples, oldest first, shared by the polling thread (which pushes)
// and the pages (which copy out). Every operation holds the store's lock for its whole run and
// only copies under it; the lock is never held together with the exchange mutex.
class CDiagData {
public:
    // Above this many samples the oldest kTrimCount go before the next push, so trimming happens
    // once in kTrimCount pushes and the store never holds more than kMaxCount + 1 samples.
    static constexpr std::size_t kMaxCount = 500;
    static constexpr std::size_t kTrimCount = 250;

    // Applies the capacity rule, then appends a copy.
    void push(const DiagSample& sample);
    // Copies the newest sample into out; an empty store leaves out untouched.
    void latest(DiagSample& out) const;
    // Appends copies of samples begin ... min(end, count) - 1 to out, when the store holds at
    // least begin samples.
    void copyRange(std::size_t end, std::size_t begin, std::vector<DiagSample>& out) const;
    std::size_t count() const;
    void clear();

private:
    mutable CMSGMutex m_mutex;
    std::vector<DiagSample> m_samples;
};

} // namespace torva
