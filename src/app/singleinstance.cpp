// SPDX-License-Identifier: MIT
#include "app/singleinstance.h"

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent)
    , m_key(key) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::notifyRunning() {
    return false;
}

bool SingleInstance::listen() {
    return true;
}
