#include "releaseprogress.h"

#include <algorithm>
#include <cmath>

ReleaseProgress::ReleaseProgress(const QVector<qint64> &sizes)
    : weights(sizes.size())
    , shares(sizes.size(), 0.0)
{
    double known = 0;
    int knownCount = 0;
    for (qint64 size : sizes) {
        if (size >= 0) {
            known += double(size);
            ++knownCount;
        }
    }
    const double unknownWeight = known > 0 ? known / knownCount : 1.0;
    for (int i = 0; i < sizes.size(); ++i)
        weights[i] = sizes.at(i) >= 0 ? double(sizes.at(i)) : unknownWeight;
    whole = known + unknownWeight * (sizes.size() - knownCount);
    // Nothing but empty files: each counts alike.
    if (whole <= 0) {
        std::fill(weights.begin(), weights.end(), 1.0);
        whole = sizes.size();
    }
}

void ReleaseProgress::setReceived(int file, qint64 received, qint64 total)
{
    if (total <= 0 || received <= 0)
        return;
    const double share = std::min(1.0, double(received) / double(total));
    // A retry starts again from nothing; the bar does not.
    if (share > shares.at(file)) {
        staged += (share - shares.at(file)) * weights.at(file);
        shares[file] = share;
    }
}

void ReleaseProgress::setStaged(int file)
{
    setReceived(file, 1, 1);
}

int ReleaseProgress::value() const
{
    if (whole <= 0)
        return 0;
    return std::min(99, int(std::floor(staged * 100 / whole)));
}
