#pragma once
// The report forms of the programs: the report, its bands and printed items,
// the preview service, the list of printed items and the printer set-up dialog.
#include "platform/report/Band.h"
#include "platform/report/GraphicItems.h"
#include "platform/report/PreviewService.h"
#include "platform/report/PrintedReport.h"
#include "platform/report/PrinterSetupDialog.h"
#include "platform/report/Report.h"
#include "platform/report/ReportErrors.h"
#include "platform/report/TextItems.h"
