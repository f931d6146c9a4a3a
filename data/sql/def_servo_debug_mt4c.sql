-- Jog settings per axis. The rows are the user's last settings, so an upgrade only adds
-- missing axes and never resets the ones already there.
CREATE TABLE IF NOT EXISTS servo_debug_mt4c (
    axis INTEGER PRIMARY KEY,
    current_value INTEGER,
    min_value INTEGER,
    max_value INTEGER,
    time_plus INTEGER,
    time_less INTEGER,
    speed INTEGER,
    s_speed INTEGER,
    s_direction INTEGER,
    torqueout INTEGER
);
INSERT OR IGNORE INTO servo_debug_mt4c (axis, current_value, min_value, max_value, time_plus, time_less, speed, s_speed, s_direction, torqueout) VALUES
(0, 0, -50000, 50000, 500, 500, 300, 200, 0, 200),
(1, 0, -50000, 50000, 500, 500, 300, 200, 0, 200),
(2, 0, -50000, 50000, 500, 500, 300, 200, 0, 200),
(3, 0, -50000, 50000, 500, 500, 300, 200, 0, 200),
(4, 0, -50000, 50000, 500, 500, 300, 200, 0, 200),
(5, 0, -50000, 50000, 500, 500, 300, 200, 0, 200),
(6, 0, -50000, 50000, 500, 500, 300, 200, 0, 200),
(7, 0, -50000, 50000, 500, 500, 300, 200, 0, 200);
