#pragma once
// The program's data image: its compiled-in item stores. gradientStepsStore comes first and links on to
// payloadStore, the boot-configuration editor as escaped text items ending in the item "EindeFini".

#include "data/item_store.h"

namespace quillfex {

extern const ItemRecord gradientStepsStore[];
extern const ItemRecord payloadStore[];

}  // namespace quillfex
