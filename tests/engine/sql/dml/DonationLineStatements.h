#pragma once
// The donation window's line statements as it fills its query component,
// line by line, and the donate table they write (shared by the tests and
// the benchmark).
#include <array>

inline constexpr const char* kCreateDonateLines =
    "CREATE TABLE donate (bill_id AUTOINC, bill_no VARCHAR(11), bill_date DATE, cust_no VARCHAR(20), "
    "accessory_no VARCHAR(15), accessory_name VARCHAR(80), accessory_type VARCHAR(1), accessory_sn VARCHAR(80), "
    "qty FLOAT, unit_name VARCHAR(10), price FLOAT, disc_rate FLOAT, tax_status VARCHAR(1), tax_rate FLOAT, "
    "cut_stock VARCHAR(1), warn_term VARCHAR(10), warn_date VARCHAR(10), total FLOAT, p_bill VARCHAR(11), "
    "fg_clear VARCHAR(1), fg_end VARCHAR(1), stk_post FLOAT, proj_no VARCHAR(10), proj_type VARCHAR(3), "
    "sale_no VARCHAR(5), staff_no VARCHAR(5), UNIQUE INDEX by_bill_id (bill_id))";

inline constexpr std::array<const char*, 10> kAddDonationLine = {
    " insert into donate ",
    " (bill_no, bill_date, cust_no, accessory_no, accessory_name, accessory_type, accessory_sn,",
    " proj_no ,  proj_type , qty , unit_name , price, disc_rate , tax_status , tax_rate , ",
    " warn_term , warn_date , total , p_bill , ",
    " fg_clear , fg_end , stk_post , sale_no ) ",
    " values ",
    " (:pbill_no,:pbill_date,:pcust_no, ",
    " :paccessory_no,:paccessory_name,:paccessory_type,:paccessory_sn, ",
    " :pproj_no,:pproj_type,:pqty,:punit_name,:pprice,:pdisc_rate,:ptax_status,:ptax_rate, ",
    " :pwarn_term,:pwarn_date,:ptotal,:pp_bill,:pfg_clear,:pfg_end,:pstk_post,:psale_no ) ",
};

inline constexpr std::array<const char*, 11> kEditDonationLine = {
    " update donate ",
    " set ",
    " bill_no=:pbill_no,bill_date=:pbill_date, ",
    " cust_no=:pcust_no,accessory_no=:paccessory_no,accessory_name=:paccessory_name, ",
    " accessory_type=:paccessory_type,accessory_sn=:paccessory_sn,proj_no=:pproj_no,proj_type=:pproj_type,qty=:pqty, ",
    " unit_name=:punit_name,price=:pprice, ",
    " disc_rate=:pdisc_rate,tax_status=:ptax_status, ",
    " tax_rate=:ptax_rate,warn_term=:pwarn_term,warn_date=:pwarn_date, ",
    " total=:ptotal,p_bill=:pp_bill,fg_clear=:pfg_clear,fg_end=:pfg_end, ",
    " stk_post=:pstk_post,sale_no=:psale_no  ",
    " where bill_id =:pbill_id ",
};
