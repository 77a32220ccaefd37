# Run with: cmake -DSOURCE_DIR=<checkout> -P PluginIncludes.cmake
# The plug-in's lower layers (stores, records, requests, network, helpers) must not reach up into
# plugin/ beyond the pairs listed here. A new pair fails, and so does a listed pair that is gone,
# so the list stays the true picture.

cmake_minimum_required(VERSION 3.20)

# "<file under vumo/>|<included header>"
set(ALLOWED
  # The store manager opens its connections through the host adapter.
  "database/VumoDBMgr.cpp|plugin/hostservices/AppShareHelp.h"
  "database/VumoDBMgr.cpp|plugin/hostservices/DatabaseHelp.h"
  # Requests sign with the seller's credentials and name the seller in their calls.
  "network/request/PopRequestBase.cpp|plugin/hostservices/AppShareHelp.h"
  "network/request/PopRequestImpl.cpp|plugin/hostservices/AppShareHelp.h"
  "network/utils/DotLog.cpp|plugin/hostservices/AppShareHelp.h"
  "network/utils/WSLogStatisticsSingleton.cpp|plugin/hostservices/AppShareHelp.h"
  "request/PopRequestBase.cpp|plugin/UserInfo.h"
  "request/PopVumoAdd.cpp|plugin/hostservices/AppShareHelp.h"
  "request/PopVumoRedCommentSync.cpp|plugin/UserInfo.h"
  "request/PopVumosSearch.cpp|plugin/hostservices/AppShareHelp.h"
  # The editor's command object sits on the listing page and opens editors for the seller.
  "editor/VumoEditorCommands.cpp|plugin/UserInfo.h"
  "editor/VumoEditorCommands.cpp|plugin/VumoClassRules.h"
  "editor/VumoEditorCommands.cpp|plugin/VumoClassification.h"
  "editor/VumoEditorCommands.cpp|plugin/VumoCommandTable.h"
  "editor/VumoEditorCommands.cpp|plugin/VumoMainWidget.h"
  "editor/VumoEditorCommands.cpp|plugin/VumoTableView.h"
  "editor/VumoEditorCommands.cpp|plugin/VumoTableViewModel.h"
  "editor/VumoEditorCommands.cpp|plugin/hostservices/AppShareHelp.h"
  # The sync subsystem's command objects and dialog sit on the listing page and name the seller.
  "sync/VumoDownloadCommands.cpp|plugin/VumoCommandTable.h"
  "sync/VumoDownloadCommands.cpp|plugin/VumoMainWidget.h"
  "sync/VumoDownloadDlg.cpp|plugin/hostservices/AppShareHelp.h"
  "sync/VumoSyncCommands.cpp|plugin/VumoClassification.h"
  "sync/VumoSyncCommands.cpp|plugin/VumoCommandTable.h"
  "sync/VumoSyncCommands.cpp|plugin/VumoMainWidget.h"
  "sync/VumoSyncCommands.cpp|plugin/hostservices/AppShareHelp.h"
  # Comment pairs are dated and aged by the host's server time.
  "sync/SyncRedCommentThread.cpp|plugin/hostservices/AppShareHelp.h"
  # The upload reports the class nodes a listing leaves and joins, and its commands sit on the
  # listing page; comment pairs are sent for the seller's shop type.
  "sync/UploadVumoWidget.cpp|plugin/hostservices/AppShareHelp.h"
  "sync/UploadVumoWidget.h|plugin/VumoClassRules.h"
  "sync/VumoUploadCommands.cpp|plugin/VumoCommandTable.h"
  "sync/VumoUploadCommands.cpp|plugin/VumoMainWidget.h"
  "sync/VumoUploadCommands.cpp|plugin/VumoTableView.h"
  "sync/VumoUploadCommands.cpp|plugin/hostservices/AppShareHelp.h"
  "sync/VumoUploadThread.cpp|plugin/hostservices/AppShareHelp.h"
  "sync/VumoUploadThread.h|plugin/VumoClassRules.h"
)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR not given")
endif()
set(root "${SOURCE_DIR}/vumo")
if(NOT IS_DIRECTORY "${root}/database")
  message(FATAL_ERROR "no plug-in sources under ${root}")
endif()

file(GLOB_RECURSE sources RELATIVE "${root}"
  "${root}/*.h" "${root}/*.hpp" "${root}/*.cpp" "${root}/*.cc")
set(found "")
foreach(source IN LISTS sources)
  # plugin/ is the top itself; ui/ is the widget kit beside it.
  if(source MATCHES "^(plugin|ui)/")
    continue()
  endif()
  file(STRINGS "${root}/${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][ \t]*plugin/")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<][ \t]*(plugin/[^\">]*)[\">].*$" "\\1" header "${line}")
    list(APPEND found "${source}|${header}")
  endforeach()
endforeach()

set(failed FALSE)
foreach(pair IN LISTS found)
  if(NOT pair IN_LIST ALLOWED)
    message(SEND_ERROR "not allowed to reach up into plugin/: ${pair}")
    set(failed TRUE)
  endif()
endforeach()
foreach(pair IN LISTS ALLOWED)
  if(NOT pair IN_LIST found)
    message(SEND_ERROR "allowed include no longer present, drop it from the list: ${pair}")
    set(failed TRUE)
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "layering check failed")
endif()
list(LENGTH found count)
message(STATUS "${count} includes into plugin/ from below, all listed")
