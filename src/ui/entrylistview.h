// SPDX-License-Identifier: MIT
#pragma once

class EntryList;
class QHBoxLayout;
class QListView;
class QWidget;

/// A list of entries by caption beside the view of the current one, as the
/// text and picture views both have it: the list keeps its width, the view
/// takes the rest. Choosing in the list makes that entry current.
QListView *addEntryList(QWidget *pane, EntryList &entries, const char *name, QWidget *view);
