#pragma once
// The report forms of the programs: the report, its bands and printed items,
// the preview service and the list of printed items.
#include "platform/report/Band.h"
#include "platform/report/GraphicItems.h"
#include "platform/report/PreviewService.h"
#include "platform/report/PrintedReport.h"
#include "platform/report/Report.h"
#include "platform/report/ReportErrors.h"
#include "platform/report/TextItems.h"
