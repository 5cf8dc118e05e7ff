/* Resource ids of the test program's own package. The types are the
   package's own (resources/resource_ids.h). */
#pragma once

/* RT_PAYLOAD */
#define FIX_PAYLOAD_FILE     1   /* bytes of payload.bin */
#define FIX_PAYLOAD_EMPTY    2   /* no bytes at all */
#define FIX_PAYLOAD_MISSING  9

/* Texts read with CopyResourceString, stored as RT_PAYLOADNAME */
#define FIX_NAME_SEVEN       10  /* "abcdefg" and its NUL */
#define FIX_NAME_UNENDED     11  /* "abc" with no NUL */
#define FIX_NAME_INNER_NUL   12  /* "ab", NUL, "cd" */
#define FIX_NAME_MISSING     19
#define FIX_TYPE_MISSING     104 /* no resource of this type at all */

/* RT_PAGETEXT */
#define FIX_PAGE_NORMAL      4
#define FIX_PAGE_UNENDED     5
#define FIX_PAGE_EMPTY       6
#define FIX_PAGE_MISSING     9

/* String table */
#define FIX_MSG_LONG         1   /* 300 characters */
#define FIX_MSG_FULL         2   /* 255 characters */
#define FIX_MSG_SHORT        3
#define FIX_MSG_EMPTY_SLOT   9   /* in the block of ids 0-15, never defined */
#define FIX_MSG_NO_BLOCK     300 /* no block holds it */
