#ifndef QIRO_APP_RESOURCES_RESOURCEIDS_H
#define QIRO_APP_RESOURCES_RESOURCEIDS_H

/* Shared by the resource script and the program, so plain macros. */

/* The program's icon: the window's title-bar and task-bar icon. */
#define QIRO_ICON_ID 1
/* The same .ico file as raw bytes, for the notification area. */
#define QIRO_ICON_FILE_ID 2

#endif
