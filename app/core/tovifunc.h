#pragma once
// The helper routines that the windows of both programs share: amounts in Thai
// words, running numbers, Buddhist-era date texts, due dates, month ends and
// the CSV export.
#include "app/core/BahtText.h"
#include "app/core/CsvExport.h"
#include "app/core/DueDate.h"
#include "app/core/MonthEnds.h"
#include "app/core/ThaiDateText.h"
#include "app/core/ZeroPadding.h"
