#include "link/diag_data.h"

#include <gtest/gtest.h>

#include <vector>

using namespace torva;

namespace {

DiagSample numbered(int seq) {
    DiagSample sample{};
    sample.m_seq = seq;
    return sample;
}

void pushNumbered(CDiagData& store, int from, int to) {
    for (int seq = from; seq <= to; ++seq)
        store.push(numbered(seq));
}

std::vector<int> sequences(const CDiagData& store, std::size_t end, std::size_t begin) {
    std::vector<DiagSample> copies;
    store.copyRange(end, begin, copies);
    std::vector<int> seqs;
    for (const auto& sample : copies)
        seqs.push_back(sample.m_seq);
    return seqs;
}

} // namespace

TEST(DiagData, TrimsTheOldest250OnlyWhenMoreThan500AreHeld) {
    CDiagData store;
    pushNumbered(store, 1, 500);
    store.push(numbered(501));
    EXPECT_EQ(store.count(), 501u);

    store.push(numbered(502));
    ASSERT_EQ(store.count(), 252u);
    EXPECT_EQ(sequences(store, 1, 0), std::vector<int>{251});
    DiagSample newest{};
    store.latest(newest);
    EXPECT_EQ(newest.m_seq, 502);

    pushNumbered(store, 503, 751); // up to 501 again, then one more trims
    EXPECT_EQ(store.count(), 501u);
    store.push(numbered(752));
    EXPECT_EQ(store.count(), 252u);
    EXPECT_EQ(sequences(store, 1, 0), std::vector<int>{501});
}

TEST(DiagData, LatestOnAnEmptyStoreLeavesTheCallersSample) {
    CDiagData store;
    DiagSample out = numbered(77);
    store.latest(out);
    EXPECT_EQ(out.m_seq, 77);

    store.push(numbered(1));
    store.clear();
    store.latest(out);
    EXPECT_EQ(out.m_seq, 77);
    EXPECT_EQ(store.count(), 0u);
}

TEST(DiagData, CopyRangeAppendsTheAvailablePartOfTheRange) {
    CDiagData store;
    pushNumbered(store, 1, 5);
    EXPECT_EQ(sequences(store, 4, 1), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(sequences(store, 100, 3), (std::vector<int>{4, 5}));
    EXPECT_TRUE(sequences(store, 100, 5).empty());
    EXPECT_TRUE(sequences(store, 100, 6).empty());
    EXPECT_TRUE(sequences(store, 2, 4).empty());

    std::vector<DiagSample> out{numbered(99)};
    store.copyRange(2, 0, out);
    ASSERT_EQ(out.size(), 3u) << "appends, keeps what the caller had";
    EXPECT_EQ(out[0].m_seq, 99);
    EXPECT_EQ(out[2].m_seq, 2);
}
