#pragma once

#include <QString>

namespace numsieve {

// One past draw. Both parts are kept as the text found in the draw file: the
// issue is never interpreted, and the number is only checked where it is
// entered (manager, import, download), never when it is loaded.
struct Draw {
    QString issue;
    QString number;

    friend bool operator==(const Draw &, const Draw &) = default;
};

} // namespace numsieve
