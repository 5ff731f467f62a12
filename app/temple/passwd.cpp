#include "app/temple/passwd.h"

// mm_work_stock is enabled by every login and stays invisible; any other
// level leaves mm_office as the previous login set it.
const LevelMenuTable kTempleLevelMenus{{"m_login", "m_main", "mm_use_room", "mm_use_land", "mm_cash",
                                        "mm_data_tools", "m_ref", "mm_office", "m_report", "m_help",
                                        "mm_work_stock"},
                                       {
                                           "11111111111",  // 1
                                           "11111111111",  // 2
                                           "11000111111",  // 3 registers and reports
                                           "11111100011",  // 4 vouchers and the cash drawer
                                           "11110100011",  // 5 vouchers only
                                           "1100010-011",  // any other level
                                       }};

Tpasswd::Tpasswd(TComponent* owner, TMdiFrame& main)
    : TLoginWindow(owner, main, {kTempleLevelMenus, /*keep_connection=*/true}) {}
