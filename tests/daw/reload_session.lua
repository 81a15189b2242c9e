-- Run by ardour7-lua: loads a saved session in a fresh process, prints the
-- plug-in's parameter values as the host reads them back, and saves it again
-- (so the state the plug-in gives after a restore is what gets stored).
--   reload_session.lua SESSION_DIR NAME INDEX...
-- Prints "param INDEX VALUE" per index and "saved" at the end.
local dir, name = arg[1], arg[2]

assert(AudioEngine:set_backend("None (Dummy)", "", ""), "no Dummy backend")
assert(load_session(dir, name), "cannot load the session")

local track = Session:route_by_name("Amp"):to_track()
assert(not track:isnil(), "no track Amp")
local proc = track:nth_plugin(0)
assert(not proc:isnil(), "the track has no plug-in")
print("plugin " .. proc:to_insert():plugin(0):name())
for i = 3, #arg do
  local index = tonumber(arg[i])
  print(string.format("param %d %.9g", index, ARDOUR.LuaAPI.get_processor_param(proc, index, true)))
end
Session:save_state("", false, false, false, false, false)
print("saved")
close_session()
