// SPDX-License-Identifier: MIT
#pragma once

#include "platform/result.h"

#include <QString>

/// What a start took back from a run that ended without its orderly exit.
struct Recovery {
    int texts = 0;
    int pictures = 0;
    /// Journal records and picture files that could not be read; such
    /// pictures are kept aside in data/image/unreadable, and a journal with
    /// damage beside the new one as entries.journal.damaged.
    int damaged = 0;
    /// A journal that could not be read at all, or one larger than the
    /// entries can ever be, is set aside under this name (why: the reason).
    QString setAside;
    Reason setAsideWhy = Reason::None;

    bool anything() const { return texts + pictures + damaged > 0 || !setAside.isEmpty(); }
};
