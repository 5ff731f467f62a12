// Compiled by the layering tests with PROBE_HEADER naming the header to reach.
#include PROBE_HEADER
