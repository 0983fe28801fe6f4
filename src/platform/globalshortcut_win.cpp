// SPDX-License-Identifier: MIT
// The shortcut as a hot key of the system's (RegisterHotKey), told to the
// window thread's message queue.
#include "platform/globalshortcut.h"

#include "platform/logging.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <windows.h>

#ifndef MOD_NOREPEAT // older MinGW headers
#define MOD_NOREPEAT 0x4000
#endif

namespace {

/// The hot key's number among this program's.
constexpr int HotKeyId = 1;

UINT virtualKeyOf(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return UINT(key); // the same codes
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return UINT(VK_F1 + (key - Qt::Key_F1));
    static constexpr std::pair<int, UINT> others[] = {
        {Qt::Key_Space, VK_SPACE},    {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Tab, VK_TAB},
        {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Return, VK_RETURN}, {Qt::Key_Insert, VK_INSERT},
        {Qt::Key_Delete, VK_DELETE},  {Qt::Key_Home, VK_HOME},     {Qt::Key_End, VK_END},
        {Qt::Key_PageUp, VK_PRIOR},   {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_Left, VK_LEFT},
        {Qt::Key_Up, VK_UP},          {Qt::Key_Right, VK_RIGHT},   {Qt::Key_Down, VK_DOWN},
        {Qt::Key_Print, VK_SNAPSHOT}, {Qt::Key_Pause, VK_PAUSE},
    };
    for (const auto &[qt, vk] : others) {
        if (qt == key)
            return vk;
    }
    return 0;
}

class HotKey final : public GlobalShortcut, public QAbstractNativeEventFilter {
public:
    HotKey() { QCoreApplication::instance()->installNativeEventFilter(this); }
    ~HotKey() override {
        QCoreApplication::instance()->removeNativeEventFilter(this);
        release();
    }

    Result bind(const QKeySequence &keys) override {
        release();
        if (keys.isEmpty())
            return {};
        const QKeyCombination combination = keys[0];
        const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
        UINT mask = MOD_NOREPEAT;
        if (modifiers & Qt::AltModifier)
            mask |= MOD_ALT;
        if (modifiers & Qt::ControlModifier)
            mask |= MOD_CONTROL;
        if (modifiers & Qt::ShiftModifier)
            mask |= MOD_SHIFT;
        if (modifiers & Qt::MetaModifier)
            mask |= MOD_WIN;
        const QString named = keys.toString(QKeySequence::NativeText);
        const UINT key = virtualKeyOf(combination.key());
        if (key == 0)
            return {Reason::ShortcutRefused, named, QStringLiteral("no virtual key for it")};
        // Without a window: WM_HOTKEY comes to this thread's queue.
        if (!RegisterHotKey(nullptr, HotKeyId, mask, key)) {
            const DWORD error = GetLastError();
            qCInfo(lcShortcut) << "RegisterHotKey failed:" << error;
            return {error == ERROR_HOTKEY_ALREADY_REGISTERED ? Reason::ShortcutTaken
                                                             : Reason::ShortcutRefused,
                    named, QStringLiteral("error %1").arg(error)};
        }
        m_registered = true;
        return {};
    }

    bool nativeEventFilter(const QByteArray &, void *message, qintptr *) override {
        const auto *msg = static_cast<const MSG *>(message);
        if (msg->message != WM_HOTKEY || msg->wParam != WPARAM(HotKeyId))
            return false;
        emit activated();
        return true;
    }

private:
    void release() {
        if (m_registered)
            UnregisterHotKey(nullptr, HotKeyId);
        m_registered = false;
    }

    bool m_registered = false;
};

} // namespace

std::unique_ptr<GlobalShortcut> makeGlobalShortcut() {
    return std::make_unique<HotKey>();
}
