#include "app/temple/add_edit_land.h"

#include "app/core/SqlWindowQuery.h"

Tadd_edit_land::Tadd_edit_land(TComponent* owner) : Tadd_edit_land(owner, SqlQueries()) {}

Tadd_edit_land::Tadd_edit_land(TComponent* owner, const WindowQueryFactory& make_query)
    : Tadd_edit(owner, make_query, kLandVouchers) {}
