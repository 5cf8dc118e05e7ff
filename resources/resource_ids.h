/* Resource numbers shared by the resource scripts and the program. */
#pragma once

/* Custom resource types of the package. */
#define RT_PAYLOAD        100
#define RT_PAYLOADNAME    101
#define RT_PAGETEXT       102
#define RT_SETUPSTRING    103

/* RT_SETUPSTRING ids */
#define IDR_INSTALLFOLDER 2

/* RT_PAGETEXT ids */
#define IDT_README        4
#define IDT_AGREEMENT     5

/* String table */
#define IDS_NO_APPMGR      1
#define IDS_SETUP          2
#define IDS_NO_INSTALL_DIR 3
#define IDS_WRITE_FAILED   4
#define IDS_MISSING_INFO   5

/* Page templates and their controls */
#define IDD_README        1
#define IDD_AGREEMENT     2
#define IDC_PAGETEXT      6

/* Pictures and icon */
#define IDI_SETUP         143
#define IDB_PICTURE       149
#define IDB_LOGO          150
#define IDB_BANNER        151
