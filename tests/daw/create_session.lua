-- Run by ardour7-lua: creates a session with one stereo audio track carrying
-- the plug-in, sets parameters through the host, records a few seconds from
-- the Dummy backend (so the track gets a region and source files) and saves.
--   create_session.lua SESSION_DIR NAME PLUGIN_ID SECONDS [INDEX=VALUE ...]
-- PLUGIN_ID is the VST id from the scan cache, or lv2:URI for an LV2 bundle
-- (whose parameter values are in the parameter's own units).
-- Prints "param INDEX VALUE" for every value read back and "saved" at the end.
local dir, name, plugin_id, seconds = arg[1], arg[2], arg[3], tonumber(arg[4])

assert(AudioEngine:set_backend("None (Dummy)", "", ""), "no Dummy backend")
assert(create_session(dir, name, 48000), "cannot create the session")

local track = Session:new_audio_track(2, 2, nil, 1, "Amp", ARDOUR.PresentationInfo.max_order,
                                      ARDOUR.TrackMode.Normal, true):front()
assert(track, "no track")
local plugin_type = ARDOUR.PluginType.LXVST
if plugin_id:sub(1, 4) == "lv2:" then
  plugin_type = ARDOUR.PluginType.LV2
  plugin_id = plugin_id:sub(5)
end
local proc = ARDOUR.LuaAPI.new_plugin(Session, plugin_id, plugin_type, "")
assert(not proc:isnil(), "the scan cache has no plug-in " .. plugin_id)
assert(track:add_processor_by_index(proc, 0, nil, true), "cannot add the plug-in")
print("plugin " .. proc:to_insert():plugin(0):name())

for i = 5, #arg do
  local index, value = arg[i]:match("^(%d+)=([-%d.eE]+)$")
  assert(index, "bad setting " .. arg[i])
  assert(ARDOUR.LuaAPI.set_processor_param(proc, tonumber(index), tonumber(value)),
         "cannot set parameter " .. index)
end
for i = 5, #arg do
  local index = tonumber(arg[i]:match("^(%d+)="))
  print(string.format("param %d %.9g", index, ARDOUR.LuaAPI.get_processor_param(proc, index, true)))
end

-- Record-arm the track and roll: the captured files are replaced by the test.
track:rec_enable_control():set_value(1, PBD.GroupControlDisposition.NoGroup)
Session:maybe_enable_record(false)
Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep(math.floor(seconds * 1000000))
assert(Session:actively_recording(), "the session did not record")
Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
for _ = 1, 200 do
  if not Session:transport_rolling() then break end
  ARDOUR.LuaAPI.usleep(50000)
end
ARDOUR.LuaAPI.usleep(500000) -- the butler finishes writing the capture
track:rec_enable_control():set_value(0, PBD.GroupControlDisposition.NoGroup)

for r in track:playlist():region_list():iter() do
  print(string.format("region %d %d", r:position():samples(), r:length():samples()))
end
Session:save_state("", false, false, false, false, false)
print("saved")
close_session()
