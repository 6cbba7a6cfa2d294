// The headers every test program includes, compiled once for all of them.
#pragma once
#include "precompiled.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
