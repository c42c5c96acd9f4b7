#include "data/data_image.h"

namespace quillfex {

// How much each colour channel drops after each of a title band's 16 pixel rows.
const ItemRecord gradientStepsStore[] = {
    {2, "10"},
    {1, "8"},
    {1, "6"},
    {1, "5"},
    {1, "4"},
    {1, "3"},
    {1, "2"},
    {1, "1"},
    {1, "2"},
    {1, "3"},
    {1, "4"},
    {1, "5"},
    {1, "6"},
    {1, "8"},
    {2, "10"},
    {1, "0"},
    {linkLength, payloadStore},
};

}  // namespace quillfex
