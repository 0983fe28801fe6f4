// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
