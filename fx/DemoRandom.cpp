#include "fx/DemoRandom.h"

namespace {
RandomSequence theSequence;   // never reseeded
}

int demo::rand()
{
    return theSequence.next();
}

RandomSequence& demo::sequence()
{
    return theSequence;
}
