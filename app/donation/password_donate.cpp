#include "app/donation/password_donate.h"

const LevelMenuTable kDonationLevelMenus{{"m_login", "m_main", "mm_donate", "mm_fill", "mm_sale", "mm_cash",
                                          "mm_data_tools", "m_ref", "m_report", "m_help"},
                                         {
                                             "1111111111",  // 1 Admin
                                             "1111111111",  // 2 หัวหน้างาน
                                             "1100001111",  // 3
                                             "1101001001",  // 4
                                             "1110111001",  // 5 พนักงานหน้า Counter
                                             "1100001001",  // any other level
                                         }};

Tpassword_donate::Tpassword_donate(TComponent* owner, TMdiFrame& main)
    : TLoginWindow(owner, main, {kDonationLevelMenus, /*keep_connection=*/false}) {}
