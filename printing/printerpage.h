// Everything a paper needs to print, in one include: the page (page.h) with
// its properties, pictures, the recorded job and the rendering back ends, and
// the colour conversions and run-time errors the papers use with them.
#pragma once

#include "app/convert.h"
#include "app/runerror.h"
#include "printing/page.h"
#include "printing/pagepicture.h"
#include "printing/pageproperties.h"
#include "printing/pagerender.h"
#include "printing/recordedjob.h"
