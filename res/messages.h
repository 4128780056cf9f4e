// The program's messages, one row each:
//
//   VH_MESSAGE(id, number, key, English)
//
// The row is the message's whole definition: the string table entry (the
// English text, built into the executable), the id the code shows it by,
// and the key of its translation in the [ResourceString] section of the
// language files. %1 to %9 stand for what the program fills in (a path, a
// date, a figure), so that a translation may put them in any order.
//
// Texts are one line each and hold no double quotes or backslashes: the
// same literal is read by the resource compiler and the C++ compiler. A
// message that shows a list is built from pieces and the list's lines.
//
// No include guard: each user defines VH_MESSAGE, includes this file and
// undefines it.
VH_MESSAGE(IDS_FINISH, 64000, "RES_Finish", "Finish")
VH_MESSAGE(IDS_STOP_PROCESS, 64001, "RES_Stop_Process", "Stop Process...")
VH_MESSAGE(IDS_CANNOT_ANALYZE, 64002, "RES_Cannot_Analyze", "Can not analyze the registry now! Please try again later.")
VH_MESSAGE(IDS_ADVICE, 64003, "RES_Advice", "The fragment rate of your registry is only %1. We suggest that your registry does not need to be compacted at this time. If you select to compact the registry now, the same fragment rate may appear again.")
VH_MESSAGE(IDS_RESTORE_FAILED, 64006, "RES_Restore_Failed", "Restore Point creation Failed! Please check whether you close the system restore. Continue to defrag?")
VH_MESSAGE(IDS_CAN_NOT_BE_FOUND, 64007, "RES_Not_Found", "can not be found.")
VH_MESSAGE(IDS_NOT_COPIED, 64008, "RES_Not_Copied", "not copied")
VH_MESSAGE(IDS_NOTHING_COPIED, 64009, "RES_Nothing_Copied", "No hive could be copied, so there is nothing to defragment. Varnhold needs administrative rights, and the backup privilege, to copy the registry hives.")
VH_MESSAGE(IDS_RECOPY_CAPTION, 64010, "RES_Recopy_Caption", "Fresh copies")
VH_MESSAGE(IDS_RECOPY_LABEL, 64011, "RES_Recopy_Label", "Copying hives again. Please wait.")
VH_MESSAGE(IDS_NOT_SCHEDULED, 64012, "RES_Not_Scheduled", "These hives will not be replaced and keep their old backups:")
VH_MESSAGE(IDS_NOTHING_SCHEDULED, 64013, "RES_Nothing_Scheduled", "No hive could be scheduled for replacement, so the computer will not restart. Nothing was changed:")
VH_MESSAGE(IDS_SWAP_NOTICE, 64014, "RES_Swap_Notice", "Windows restarts at once when the hives below have been copied again, checked and swapped. Anything you change from now until the restart is lost: save your work and close your programs first. Click OK to go on, or Cancel to stop without changing anything.")
VH_MESSAGE(IDS_SWAP_LIST, 64015, "RES_Swap_List", "These hives will be swapped for their compacted copies (each only if its copy passes its check):")
VH_MESSAGE(IDS_SWAPS_PENDING, 64016, "RES_Swaps_Pending", "Hives of an earlier defragmentation or undo are swapped and wait for the restart. Until Windows restarts, every registry change is lost, and Varnhold can neither analyze, defragment nor undo. Restart now?")
VH_MESSAGE(IDS_RESTART_FAILED, 64017, "RES_Restart_Failed", "Windows could not be restarted. The swapped hives wait for the restart, and every registry change made until then will be lost. Save your work and click Restart Now as soon as you can.")
VH_MESSAGE(IDS_RESTORE_FAILED_UNDO, 64018, "RES_Restore_Failed_Undo", "Restore Point creation Failed! Please check whether System Restore is turned off. Continue to undo the last defragmentation?")
VH_MESSAGE(IDS_RESTART_REFUSED, 64019, "RES_Restart_Refused", "Windows refused to restart.")
VH_MESSAGE(IDS_RESTART_REFUSED_ERROR, 64020, "RES_Restart_Refused_Error", "Windows refused to restart (error %1).")
VH_MESSAGE(IDS_RESTART_NOT_COME, 64021, "RES_Restart_Not_Come", "Windows took the request but did not restart.")
VH_MESSAGE(IDS_RESTART_CANCELLED, 64022, "RES_Restart_Cancelled", "The restart was cancelled.")
VH_MESSAGE(IDS_UNABLE_TO_WRITE, 64023, "RES_Unable_To_Write", "Unable to write to %1")
VH_MESSAGE(IDS_UNDO_CONFIRM, 64030, "RES_Undo_Confirm", "Undo the last defragmentation? At the next start Windows puts the old contents of these hives back from their backups (.bak), and keeps the compacted hives as .undo files:")
VH_MESSAGE(IDS_UNDO_QUESTION, 64031, "RES_Undo_Question", "The computer then restarts. Go on?")
VH_MESSAGE(IDS_UNDO_SKIPPED, 64032, "RES_Undo_Skipped", "These hives stay as they are:")
VH_MESSAGE(IDS_UNDO_NOT_LOADED, 64033, "RES_Undo_Not_Loaded", "Windows does not list this hive with this file now")
VH_MESSAGE(IDS_UNDO_NOT_SWAPPED_IN, 64034, "RES_Undo_Not_Swapped_In", "its compacted copy is still there, so the swap did not take effect")
VH_MESSAGE(IDS_UNDO_NO_BACKUP, 64035, "RES_Undo_No_Backup", "its backup is missing")
VH_MESSAGE(IDS_UNDO_STALE_BACKUP, 64036, "RES_Undo_Stale_Backup", "its backup was last written more than a day before the defragmentation, so it is not the one that defragmentation left")
VH_MESSAGE(IDS_UNDO_LOSS, 64037, "RES_Undo_Loss", "The defragmentation to undo ran on %1. Every registry change made since then is lost, and Windows restarts at once: save your work first.")
VH_MESSAGE(IDS_UNDO_NOTHING, 64038, "RES_Undo_Nothing", "There is no defragmentation to undo. An undo needs a defragmentation whose swaps took effect at a restart, and the backups (.bak) it left beside the hive files.")
VH_MESSAGE(IDS_UNDO_REFUSED, 64039, "RES_Undo_Refused", "Windows refused to swap back any hive, so the computer will not restart. Nothing was changed:")
VH_MESSAGE(IDS_UNDO_NO_ENTRY, 64040, "RES_Undo_No_Entry", "The journal holds no defragmentation.")
VH_MESSAGE(IDS_UNDO_DAMAGED, 64041, "RES_Undo_Damaged", "The journal's last entry cannot be read.")
VH_MESSAGE(IDS_UNDO_NOTHING_SCHEDULED, 64042, "RES_Undo_Nothing_Scheduled", "The last defragmentation scheduled no swap.")
VH_MESSAGE(IDS_UNDO_ALREADY_UNDONE, 64043, "RES_Undo_Already_Undone", "The undo of the last defragmentation is already scheduled or done.")
VH_MESSAGE(IDS_UNDO_NOT_RESTARTED, 64044, "RES_Undo_Not_Restarted", "The computer has not restarted since the last defragmentation, so its swaps have not taken effect.")
VH_MESSAGE(IDS_UNDO_NOTHING_TO_SWAP_BACK, 64045, "RES_Undo_Nothing_To_Swap_Back", "No hive the last defragmentation swapped can be swapped back:")
VH_MESSAGE(IDS_PLEASE_VISIT, 64024, "RES_Please_Visit", "Please visit %1")
VH_MESSAGE(IDS_LEFT_ALONE_BOOT, 64050, "RES_Left_Alone_Boot", "left alone: boot configuration")
VH_MESSAGE(IDS_LEFT_ALONE_BOOT_WHY, 64051, "RES_Left_Alone_Boot_Why", "it is the boot configuration, which the boot manager reads before Windows starts")
VH_MESSAGE(IDS_LEFT_ALONE_SAM, 64052, "RES_Left_Alone_Sam", "left alone: account database")
VH_MESSAGE(IDS_LEFT_ALONE_SAM_WHY, 64053, "RES_Left_Alone_Sam_Why", "it holds the local accounts and their password hashes; administrators may not read all of it, so its copy can never be checked")
VH_MESSAGE(IDS_LEFT_ALONE_SECURITY, 64054, "RES_Left_Alone_Security", "left alone: security policy")
VH_MESSAGE(IDS_LEFT_ALONE_SECURITY_WHY, 64055, "RES_Left_Alone_Security_Why", "it holds the security policy and its secrets; administrators may not read all of it, so its copy can never be checked")
VH_MESSAGE(IDS_LEFT_ALONE_COMPONENTS, 64056, "RES_Left_Alone_Components", "left alone: component store")
VH_MESSAGE(IDS_LEFT_ALONE_COMPONENTS_WHY, 64057, "RES_Left_Alone_Components_Why", "Windows servicing loads and writes it while it installs updates")
VH_MESSAGE(IDS_LEFT_ALONE_DRIVERS, 64058, "RES_Left_Alone_Drivers", "left alone: driver store")
VH_MESSAGE(IDS_LEFT_ALONE_DRIVERS_WHY, 64059, "RES_Left_Alone_Drivers_Why", "Windows servicing loads and writes it while it installs drivers")
VH_MESSAGE(IDS_LEFT_ALONE_ELAM, 64060, "RES_Left_Alone_Elam", "left alone: early-launch drivers")
VH_MESSAGE(IDS_LEFT_ALONE_ELAM_WHY, 64061, "RES_Left_Alone_Elam_Why", "the boot loader reads it before Windows starts")
VH_MESSAGE(IDS_NO_ANALYSIS_COPY, 64062, "RES_No_Analysis_Copy", "it has no copy from the analysis")
VH_MESSAGE(IDS_NOT_COPIED_AGAIN, 64063, "RES_Not_Copied_Again", "it was not copied again")
VH_MESSAGE(IDS_SWAP_REFUSED, 64064, "RES_Swap_Refused", "Windows refused to schedule the swap (error %1)")
VH_MESSAGE(IDS_UNSUPPORTED_SYSTEM, 65227, "RES_Unsupported_System", "The software does not support the current Windows system!")
