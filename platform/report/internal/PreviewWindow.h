#pragma once
// The preview window: the default preview service.
#include <memory>

#include "platform/report/PreviewService.h"

std::unique_ptr<TQRPreviewService> CreatePreviewWindowService();
