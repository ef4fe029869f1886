// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Serializable.h"

#include <QByteArrayView>

#include <span>

// The classes documents may name, each registered with schema 1. Names are
// compared byte for byte, case included.
extern const ClassInfo kObjItemClass;
extern const ClassInfo kObjItemTextClass;
extern const ClassInfo kObjItemLineClass;
extern const ClassInfo kObjItemRectClass;
extern const ClassInfo kObjItemBitmapClass;
extern const ClassInfo kObjItem0Class;
extern const ClassInfo kObjItem0TextClass;
extern const ClassInfo kObjItem0LineClass;
extern const ClassInfo kObjItem0RectClass;
extern const ClassInfo kObjItem0BitmapClass;
// Registered, but never an item: the page writes its own fields directly.
extern const ClassInfo kPmrDataClass;

// Every registered class.
std::span<const ClassInfo* const> registeredClasses();

// The class registered under exactly this name, or null.
const ClassInfo* findClass(QByteArrayView name);
