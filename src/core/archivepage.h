// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QStringList>

/// The time a data file's name tells it was saved: text pages are named
/// yyyyMMddHHmmss[_n].htm, pictures yyyyMMddHHmmss<entry>[_n].bmp. Invalid
/// for a name the program does not give.
QDateTime savedAt(const QString &fileName, bool picture);

/// A saved text page read back.
struct TextPage {
    /// The entries, oldest first, as the program had them when it saved them.
    QStringList entries;
    /// False: the bytes are neither a page nor text in a known encoding.
    bool readable = true;
};

/// Reads the entries of a text page: the text before each "<br><br>" CR LF
/// of the page's body, its line breaks kept. This program escapes "&", "<"
/// and ">" and writes what the code page lacks as "&#x…;": that is undone,
/// except in pages with a raw "<" or "&" in their entries, which are read as
/// they stand. Bytes without the page's frame (a page edited by hand, or in
/// another encoding) are one entry of plain text, UTF-8 or code page 936.
TextPage readTextPage(QByteArrayView bytes);
